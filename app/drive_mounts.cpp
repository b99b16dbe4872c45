#include "drive_mounts.h"

#include "drive_store.h"

namespace orvanel {

void DriveMounts::Attach(HWND window, UINT message) {
    window_ = window;
    message_ = message;
}

DriveMount* DriveMounts::Tagged(UINT tag) const {
    for (const auto& room : rooms_) {
        if (room->Tag() == tag) return room.get();
    }
    return nullptr;
}

void DriveMounts::Load() {
    const std::size_t count = StoredDriveCount();
    while (rooms_.size() > count) rooms_.pop_back();
    while (rooms_.size() < count) Add();
    std::vector<std::wstring> letters;
    for (const auto& room : rooms_) {
        room->Load();
        letters.push_back(room->Letter());
    }
    const std::vector<bool> clashes = LetterClashes(letters);
    for (std::size_t i = 0; i < rooms_.size(); ++i) rooms_[i]->SetClashing(clashes[i]);
}

void DriveMounts::Add() {
    rooms_.push_back(std::make_unique<DriveMount>(window_, message_, next_tag_++, rooms_.size()));
}

bool DriveMounts::Remove(std::size_t index) {
    const bool removed = RemoveStoredDrive(index, rooms_.size());
    if (removed) {
        rooms_[index]->StopWaiting();
        rooms_.erase(rooms_.begin() + static_cast<std::ptrdiff_t>(index));
        for (std::size_t i = index; i < rooms_.size(); ++i) rooms_[i]->MoveTo(i);
    }
    return removed;
}

std::vector<DriveView> DriveMounts::Views() const {
    std::vector<DriveView> views;
    for (const auto& room : rooms_) views.push_back(room->View());
    return views;
}

std::vector<const MountTracker*> DriveMounts::Trackers() const {
    std::vector<const MountTracker*> trackers;
    for (const auto& room : rooms_) trackers.push_back(&room->Tracker());
    return trackers;
}

std::vector<std::wstring> DriveMounts::LettersInUse(std::size_t except) const {
    std::vector<std::wstring> letters;
    for (std::size_t i = 0; i < rooms_.size(); ++i) {
        if (i != except && !rooms_[i]->Clashing()) letters.push_back(rooms_[i]->Letter());
    }
    return letters;
}

void DriveMounts::StopWaiting() {
    for (const auto& room : rooms_) room->StopWaiting();
}

void DriveMounts::UnmountMounted() {
    for (const auto& room : rooms_) {
        if (room->Tracker().Shown() == MountState::Mounted) room->Unmount();
    }
}

bool DriveMounts::Follow() {
    bool changed = false;
    for (const auto& room : rooms_) changed = room->Follow() || changed;
    return changed;
}

bool DriveMounts::Follow(std::uint32_t unit_mask) {
    bool changed = false;
    for (const auto& room : rooms_) {
        if (room->Concerns(unit_mask)) changed = room->Follow() || changed;
    }
    return changed;
}

}  // namespace orvanel

#include "tray_menu.h"

#include <string>

#include "drive_layout.h"
#include "module.h"
#include "resource.h"

namespace orvanel {
namespace {

void SetItem(HMENU menu, UINT id, const std::wstring* text, bool enabled) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    item.fState = enabled ? MFS_ENABLED : MFS_GRAYED;
    std::wstring caption = text ? *text : std::wstring();
    if (text) {
        item.fMask |= MIIM_STRING;
        item.dwTypeData = caption.data();
    }
    ::SetMenuItemInfoW(menu, id, FALSE, &item);
}

void InsertEntries(HMENU menu, UINT position, UINT first_id, const std::vector<MenuEntry>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const UINT flags = MF_BYPOSITION | MF_STRING | (entries[i].enabled ? MF_ENABLED : MF_GRAYED);
        ::InsertMenuW(menu, position + static_cast<UINT>(i), flags, first_id + i, entries[i].text.c_str());
    }
}

void OneDriveMenuFor(HMENU loaded, const DriveView& drive) {
    const HMENU popup = ::GetSubMenu(loaded, 0);
    const OneDriveMenu shown = MenuForOneDrive(drive);
    SetItem(popup, IDM_ENABLED, &shown.mount.text, shown.mount.enabled);
    SetItem(popup, IDM_SET, nullptr, shown.settings_enabled);
    SetItem(popup, IDM_ADD_DRIVE, nullptr, shown.add_enabled);
}

void SeveralDrivesMenuFor(HMENU loaded, const std::vector<DriveView>& drives) {
    const HMENU popup = ::GetSubMenu(loaded, 0);
    const SeveralDrivesMenu shown = MenuForDrives(drives);
    InsertEntries(popup, 0, IDM_DRIVE_TOGGLE, shown.mounts);
    const HMENU settings = ::GetSubMenu(popup, static_cast<int>(shown.mounts.size()) + 1);
    InsertEntries(settings, 0, IDM_DRIVE_SETTINGS, shown.settings);
    SetItem(settings, IDM_ADD_DRIVE, nullptr, shown.add_enabled);
    // Remove Drive opens the unmounted drives, each by its place.
    const HMENU removals = ::CreatePopupMenu();
    for (std::size_t i = 0; i < shown.removals.size(); ++i) {
        ::AppendMenuW(removals, MF_STRING, IDM_DRIVE_REMOVE + shown.removable[i], shown.removals[i].text.c_str());
    }
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_SUBMENU | MIIM_STATE;
    item.hSubMenu = removals;  // the menu destroys it with itself
    item.fState = shown.removals.empty() ? MFS_GRAYED : MFS_ENABLED;
    ::SetMenuItemInfoW(settings, IDM_REMOVE_DRIVE, FALSE, &item);
}

}  // namespace

UniqueMenu BuildTrayMenu(const std::vector<DriveView>& drives) {
    const bool several = drives.size() > 1;
    UniqueMenu menu(::LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(several ? IDM_TRAY_SEVERAL : IDM_TRAY)));
    if (!menu || drives.empty()) return menu;
    if (several) {
        SeveralDrivesMenuFor(menu.get(), drives);
    } else {
        OneDriveMenuFor(menu.get(), drives[0]);
    }
    return menu;
}

MenuChoice DecodeMenuChoice(UINT id) {
    const struct {
        UINT first;
        MenuChoice::Kind kind;
    } ranges[] = {{IDM_DRIVE_TOGGLE, MenuChoice::Kind::Toggle},
                  {IDM_DRIVE_SETTINGS, MenuChoice::Kind::Settings},
                  {IDM_DRIVE_REMOVE, MenuChoice::Kind::Remove}};
    for (const auto& range : ranges) {
        if (id >= range.first && id < range.first + kMostDrives) return {range.kind, id, id - range.first};
    }
    return {MenuChoice::Kind::Fixed, id, 0};
}

}  // namespace orvanel

// The fuzzer's bytes taken apart into the inputs of one call, and the check
// that stops the run, so that libFuzzer records the input, when a property fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace orvanel {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    // One byte; 0 once the bytes are used up.
    std::uint8_t Byte() { return size_ > 0 ? (--size_, *data_++) : 0; }
    // Up to `length` bytes, one character each (Latin-1: the rules care about ASCII and NUL).
    std::wstring Text(std::size_t length) {
        std::wstring text;
        while (length-- > 0 && size_ > 0) text += static_cast<wchar_t>(Byte());
        return text;
    }
    std::wstring Text() { return Text(Byte()); }  // a length byte first
    std::wstring RestAsText() { return Text(size_); }
    std::string RestAsBytes() { return std::string(reinterpret_cast<const char*>(data_), std::exchange(size_, 0)); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

// Each target defines this: one call of what it fuzzes, its inputs taken from `input`.
void FuzzOne(FuzzInput& input);

}  // namespace orvanel

// Included by exactly one file of each target.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    orvanel::FuzzInput input(bytes, size);
    orvanel::FuzzOne(input);
    return 0;
}

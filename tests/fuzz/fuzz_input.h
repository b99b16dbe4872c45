// The fuzzer's bytes taken apart into the inputs of one call, and the check
// that stops the run when a property fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvanel {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // One byte; 0 once the bytes are used up.
    std::uint8_t Byte() { return size_ > 0 ? (--size_, *data_++) : 0; }

    // A length byte, then at most that many bytes, one character each
    // (Latin-1 is enough: the rules care about ASCII and NUL).
    std::wstring Text(std::size_t length) {
        std::wstring text;
        while (length-- > 0 && size_ > 0) text += static_cast<wchar_t>(Byte());
        return text;
    }
    std::wstring Text() { return Text(Byte()); }
    std::wstring RestAsText() { return Text(size_); }
    std::string RestAsBytes() {
        std::string bytes(reinterpret_cast<const char*>(data_), size_);
        size_ = 0;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Aborts, so that libFuzzer records the input, when a property fails.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

}  // namespace orvanel

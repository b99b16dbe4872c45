// The per-character transformation every stored value goes through.
#pragma once

#include <string>
#include <string_view>

namespace orvanel {

// Run-time error numbers the store reports to the user.
constexpr int kErrorInvalidArgument = 5;
constexpr int kErrorOverflow = 6;

// The longest text the transformation accepts: its counter is a 16-bit
// signed number, so 32,767 characters or more overflow.
constexpr std::size_t kMaxValueLength = 32766;

struct CodecResult {
    std::string text;  // ANSI bytes; empty when error != 0
    int error = 0;     // 0, or kErrorOverflow
};

// Each byte c becomes 255 - c; applying it twice gives the text back.
CodecResult EncodeValue(std::string_view ansi);
CodecResult DecodeValue(std::string_view ansi);

// "ERROR # 6 : Overflow", a carriage return, "Please exit and try again."
std::string StoreErrorMessage(int error);

}  // namespace orvanel

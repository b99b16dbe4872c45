#include "value_codec.h"

namespace orvanel {
namespace {

CodecResult Transform(std::string_view ansi) {
    if (ansi.size() > kMaxValueLength) return {std::string(), kErrorOverflow};
    std::string out(ansi.size(), '\0');
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(ansi[i]);
        out[i] = static_cast<char>(255 - c);
    }
    return {out, 0};
}

const char* ErrorDescription(int error) {
    switch (error) {
        case kErrorInvalidArgument: return "Invalid procedure call or argument";
        case kErrorOverflow: return "Overflow";
        default: return "Unexpected error";
    }
}

}  // namespace

CodecResult EncodeValue(std::string_view ansi) { return Transform(ansi); }
CodecResult DecodeValue(std::string_view ansi) { return Transform(ansi); }

std::string StoreErrorMessage(int error) {
    return "ERROR # " + std::to_string(error) + " : " + ErrorDescription(error) +
           "\rPlease exit and try again.";
}

}  // namespace orvanel

// COM for the calling thread for as long as the guard lives: the shell's
// icon functions and the picture decoder need it.
#pragma once

#include <objbase.h>

namespace orvanel {

class ComApartment {
public:
    ComApartment()
        : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

}  // namespace orvanel

#include "app_keys.h"

namespace orvanel {

RootKey AppRootKey{};
std::wstring AppKeyPath;

}  // namespace orvanel

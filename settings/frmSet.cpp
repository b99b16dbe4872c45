#include "frmSet.h"

namespace orvanel {

void ShowSettingsDialog() {}

}  // namespace orvanel

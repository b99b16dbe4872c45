#include "frmAbout.h"

namespace orvanel {

void ShowAboutBox() {}

}  // namespace orvanel

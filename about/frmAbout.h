// The about box.
#pragma once

namespace orvanel {

// Shows the box modally, without an owner; returns when it is closed.
void ShowAboutBox();

}  // namespace orvanel

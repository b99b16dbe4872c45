// The one source of the version numbers: the version record is built from
// these, and the about box reads them back from the version record; CMake's
// project version, the installer (installer/Orvanel.nsi) and the packages'
// names (scripts/package) read this file too. CMake checks that the text
// form says the same numbers.
#pragma once

#define ORVANEL_VERSION_MAJOR 1
#define ORVANEL_VERSION_MINOR 0
#define ORVANEL_VERSION_REVISION 20
#define ORVANEL_VERSION_TEXT "1.00.0020"
#define ORVANEL_COPYRIGHT "Copyright © 2026 Kestrane. All rights reserved."

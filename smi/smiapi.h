// libsmi's C interface for C++ files. smi.h names one parameter `class`,
// which C++ reserves; the name is changed while the header is read only.
#pragma once

#define class smiClassName
#include <smi.h>
#undef class

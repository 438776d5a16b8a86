#pragma once

// libburn, libisofs and libisoburn for C++: libburn declares its names in namespace burn, and
// libisoburn refers to them unqualified, so the namespace is opened before it.
#include <cstdint>
#include <libburn/libburn.h>
#include <libisofs/libisofs.h>
using namespace burn;
#include <libisoburn/libisoburn.h>

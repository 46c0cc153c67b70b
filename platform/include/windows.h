// The Windows names the plug-in and its host use, for systems other than Windows.
// Layouts and values follow the Windows SDK so that code written against this
// header compiles unchanged against the real one.
#pragma once

// Each part builds on the ones before it.
// clang-format off
#include "win/types.h"
#include "win/errors.h"
#include "win/guid.h"
#include "win/unknown.h"
#include "objbase.h"
#include "oleauto.h"
#include "win/kernel.h"
#include "win/devmode.h"
// clang-format on

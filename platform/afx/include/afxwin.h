// The dialog framework: one DLL (afxlite) shared by the program and every
// library, so that all of them see one module state and one resource chain.
#pragma once

#include "afxstr.h"
#include "afxtypes.h"
#include "afxmsgmap.h"
#include "afxwnd.h"
#include "afxgdi.h"
#include "afxctrls.h"
#include "afxapp.h"
#include "afxfile.h"

// Everything vantor.dll offers.
#pragma once

#include <vantor/VantorApi.h>
#include <vantor/Registry.h>
#include <vantor/FileCopy.h>
#include <vantor/System.h>
#include <vantor/Paint.h>
#include <vantor/LumbrixApp.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/FolderDialog.h>
#include <vantor/HoverButton.h>
#include <vantor/GuiButton.h>
#include <vantor/StaticFader.h>
#include <vantor/ProgressST.h>
#include <vantor/Heading.h>
#include <vantor/SortHeader.h>
#include <vantor/ToolTipCtrl.h>

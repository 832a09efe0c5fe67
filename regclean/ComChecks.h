// Section 0: COM classes, type libraries and interfaces. Classes and type
// libraries are judged by their files; an interface is reported when it
// points at a class or type library found broken in the same scan.
#pragma once

#include "regclean/KeyWalker.h"

// The nine lists the checks leave behind; the interface check searches the
// class identifiers and the library identifiers.
struct ComLists {
    CStringArray classIds, classSubkeys, classData;        // upper-cased class ids
    CStringArray libVersions, libIds, libData;             // all upper-cased
    CStringArray interfacePaths, interfaceNames, interfaceValues;
    void Clear();
};

void CheckClasses(ScanContext& ctx, ComLists& lists);
void CheckTypeLibraries(ScanContext& ctx, ComLists& lists);
void CheckInterfaces(ScanContext& ctx, ComLists& lists);

// The three in their order.
void RunComChecks(ScanContext& ctx, ComLists& lists);

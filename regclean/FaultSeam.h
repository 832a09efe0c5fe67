// A seam for tests: makes the path resolver or the scan worker fail when it
// meets a chosen text, as a fault in the system's code or a bug in ours
// would. Off unless a test turns it on; one check per value when off.
#pragma once

enum class FaultSite { Resolver, Worker };
enum class FaultKind { None, AccessViolation, CppException };

// From now on, `site` fails in the way `kind` says on every text that holds
// `trigger`. FaultKind::None turns the site off.
void SetInjectedFault(FaultSite site, FaultKind kind, const char* trigger = "");

// Called by each site with the text it works on.
void InjectedFaultPoint(FaultSite site, const char* text);

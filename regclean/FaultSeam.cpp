#include "regclean/FaultSeam.h"

#include <atomic>
#include <cstring>
#include <stdexcept>

namespace {

struct Plan {
    std::atomic<int> kind{int(FaultKind::None)};
    char trigger[260] = {};
};

Plan g_plans[2];

}  // namespace

void SetInjectedFault(FaultSite site, FaultKind kind, const char* trigger)
{
    Plan& plan = g_plans[int(site)];
    plan.kind.store(int(FaultKind::None));
    std::strncpy(plan.trigger, trigger ? trigger : "", sizeof plan.trigger - 1);
    plan.kind.store(int(kind));
}

void InjectedFaultPoint(FaultSite site, const char* text)
{
    Plan& plan = g_plans[int(site)];
    const int kind = plan.kind.load();
    if (kind == int(FaultKind::None) || !text || !std::strstr(text, plan.trigger)) return;
    if (kind == int(FaultKind::CppException)) throw std::runtime_error("injected");
    // A store through a pointer the compiler cannot see to be null: a real
    // access violation, not one raised by hand.
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

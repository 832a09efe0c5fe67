#include "host/ProgramLocale.h"

#include <clocale>

void ApplyProgramLocale()
{
    for (int category = 0; category <= 5; ++category)
        std::setlocale(category, "German");
}

#include "translation.h"

const char* Translate(const char* english)
{
    return english;
}

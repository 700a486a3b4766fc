#include "app/Module2.h"

Module2& Shared() {
    static Module2 state;
    return state;
}

#include "app/Module2.h"

Module2& ProgramState() {
    static Module2 state;
    return state;
}

#include "app/Module2.h"

namespace app {

Module2& ProgramState() {
    static Module2 state;
    return state;
}

}  // namespace app

#include "shell/program_state.h"

namespace vantrel {

Handle SelectedWindow = 0;
bool HexMode = false;
std::string ProgramDir;

}  // namespace vantrel

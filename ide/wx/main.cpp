// quvbench: the QuvBench IDE.
#include "ide/wx/app.hpp"

wxIMPLEMENT_APP(ide::CQuvBenchApp);

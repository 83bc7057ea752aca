// lumadoll: the desktop program.
#include "app/application.h"

int main(int argc, char** argv) { return luma::app::RunApplication(argc, argv); }

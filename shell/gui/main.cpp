#include "shell/gui/program.h"

int main(int argc, char** argv) { return pw::RunPennywhistle(argc, argv); }

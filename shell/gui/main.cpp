#include "shell/gui/startup.h"

int main(int argc, char** argv) { return pw::RunPennywhistle(argc, argv); }

// kelem: the project's command-line tool (gallery, run, view); `kelem --help` lists them.
#include <iostream>

#include "Cli.h"

int main(int argc, char** argv) {
    return kelem::KelemMain(argc, argv, std::cout, std::cerr);
}

#include <iostream>

#ifndef _WIN32
#include <csignal>
#endif

#include "app/cli.h"

int main(int argc, char** argv) {
#ifndef _WIN32
    // A file-size limit ends the process by signal on the first write beyond
    // it; ignored, the write fails and the run is refused with its reason
    // and leaves no partial file.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    return varnek_cli(argc, argv, std::cout, std::cerr);
}

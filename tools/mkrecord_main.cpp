// morvelance-mkrecord: writes device record files. See tools/README.md.
#include <iostream>
#include <string>
#include <vector>

#include "tools/Mkrecord.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return morvelance::RunMkrecord(args, std::cout, std::cerr);
}

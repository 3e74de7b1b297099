// A second live process: holds a private copy of the library until it is ended.
//   copy_holder <REFPROP folder> <temporary folder ending in a backslash>
#include <cstring>

#include "refprop/RefpropLibrary.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    auto wide = [](const char* text) { return std::wstring(text, text + std::strlen(text)); };
    tarnevo::RefpropBinding binding;
    tarnevo::LoadRefpropLibrary(binding, wide(argv[1]), wide(argv[2]));
    Sleep(INFINITE);
}

#include "app/Program.h"

int main(int argc, char** argv) {
    return wv::RunProgram(argc, argv);
}

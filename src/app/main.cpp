#include "app/Entry.h"

int main(int argc, char** argv) { return voidriftMain(argc, argv); }

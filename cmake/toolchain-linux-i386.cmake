# The core and its native tests as an i386 Linux program (g++-multilib): size_t and pointers of
# 32 bits, as in the product. Linked statically, so that the program needs no i386 libraries
# and runs as it is under qemu-i386-static on a host that runs no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")

#include <cstdio>

int main(int argc, char *argv[])
{
    std::fprintf(stderr, "usage: vaultbase-cli COMMAND [OPTIONS] FILE\n");
    return 2;
}

// SPDX-License-Identifier: MIT
// A stand-in for the archiver and the checkers: writes the arguments it was started with, one
// a line, into the file its first argument names.
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 1;
  for (int i = 2; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
  return std::fclose(f) == 0 ? 0 : 1;
}

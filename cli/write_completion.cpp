// write_completion FILE: writes baud51-cli's bash completion, at build time.
#include <cstdio>
#include <string>

#include "cli/completion.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_completion FILE\n");
    return 2;
  }
  const std::string script = cli::CompletionScript();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr ||
      std::fwrite(script.data(), 1, script.size(), file) != script.size() ||
      std::fclose(file) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}

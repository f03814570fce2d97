// Writes the demo network's three multiplexes: dtv-make-demo CLIP_DIR OUTPUT_DIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "DemoNetwork.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s CLIP_DIR OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path clips = argv[1], dir = argv[2];
    std::filesystem::create_directories(dir);
    const auto muxes = demo::DemoMuxes();
    for (size_t i = 0; i < muxes.size(); ++i) {
      const demo::Bytes ts = demo::BuildMux(muxes, i, clips, 12'000'000);
      const auto path = dir / ("demo-mux" + std::to_string(i + 1) + ".ts");
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(ts.data()), static_cast<std::streamsize>(ts.size()));
      if (!out) throw std::runtime_error("cannot write " + path.string());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dtv-make-demo: %s\n", e.what());
    return 1;
  }
  return 0;
}

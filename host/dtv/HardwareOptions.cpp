#include "HardwareOptions.h"

std::shared_ptr<HWConfigOptions> AddHardwareOptions(CLI::App* command) {
  auto options = std::make_shared<HWConfigOptions>();
  command->add_option("--virtual-tuners", options->virtualDescriptions, "Further virtual-tuner description files (XML)");
  command->add_flag("--no-demo", [options](int64_t) { options->defaultVirtualTuners = false; },
                    "Leave out the bundled demo tuners");
  command->add_option("--dev-root", options->devRoot, "Root of the device tree (default /dev)");
  command->add_option("--sys-root", options->sysRoot, "Root of sysfs (default /sys)");
  return options;
}

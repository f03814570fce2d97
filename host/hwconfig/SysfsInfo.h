#pragma once
// Hardware values of a DVB frontend from sysfs: the bus device behind
// <sys>/class/dvb/dvbN.frontendM/device.
#include <string>

#include "hwconfig/HWDevice.h"

// Fills manufacturer, hardware id ("USB\VID_xxxx&PID_yyyy" or
// "PCI\VEN_xxxx&DEV_yyyy"), physical device id (the bus device's path under
// <sys>/devices) and driver; values sysfs does not have stay empty.
void ReadSysfsInfo(const std::string& sysRoot, int adapter, int frontend, HWDevice& device);

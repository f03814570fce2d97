// CHANNEL and DEVICE arguments: numbers, names and monikers, and the
// one-line answer for each one that names nothing or more than one.
#include <gtest/gtest.h>

#include "channels/ChannelLookup.h"
#include "channels/ChannelProperties.h"
#include "dtvhost/DeviceLookup.h"

namespace {

ChannelList Channels(std::initializer_list<const char*> titles) {
  ChannelList channels;
  for (const char* title : titles) {
    channels.push_back(NewChannel());
    PutText(channels.back().Get(), &IKxChannel::put_Title, title);
  }
  return channels;
}

struct Lookup {
  const char* text;
  std::optional<size_t> index;
  const char* message;  // part of the error when nothing is found
};

class ChannelLookup : public testing::TestWithParam<Lookup> {};

TEST_P(ChannelLookup, FindsByNumberOrName) {
  const ChannelList channels = Channels({"Das Erste", "ZDF", "arte", "Arte", "3sat", "ZDF"});
  std::string error;
  const Lookup& c = GetParam();
  EXPECT_EQ(FindChannel(channels, c.text, "list.xml", error), c.index) << c.text;
  EXPECT_NE(error.find(c.message), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChannelLookup,
    testing::Values(Lookup{"1", 0, ""}, Lookup{"6", 5, ""}, Lookup{"Das Erste", 0, ""},
                    Lookup{"das erste", 0, ""},            // case does not matter when nothing else matches
                    Lookup{"arte", 2, ""},                 // an exact name beats one in other case
                    Lookup{"3sat", 4, ""},                 // a name that starts with a digit is a name
                    Lookup{"0", std::nullopt, "no channel 0 in list.xml: it holds 6 channels"},
                    Lookup{"7", std::nullopt, "no channel 7 in list.xml"},
                    Lookup{"-1", std::nullopt, "no channel '-1' in list.xml"},
                    Lookup{"RTL", std::nullopt, "no channel 'RTL' in list.xml"},
                    Lookup{"ZDF", std::nullopt, "'ZDF' names 2 channels (2, 6); give the number"},
                    Lookup{"ARTE", std::nullopt, "'ARTE' names 2 channels (3, 4)"}));

class DeviceLookup : public testing::TestWithParam<Lookup> {};

TEST_P(DeviceLookup, FindsByNumberNameOrMoniker) {
  const std::vector<DeviceName> devices{{"Demo DVB-T", "virtual:demo-t"},
                                        {"Hauppauge WinTV", "/dev/dvb/adapter0/frontend0#dvb-t"},
                                        {"Hauppauge WinTV", "/dev/dvb/adapter0/frontend0#dvb-c"}};
  std::string error;
  const Lookup& c = GetParam();
  EXPECT_EQ(FindDevice(devices, c.text, error), c.index) << c.text;
  EXPECT_NE(error.find(c.message), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeviceLookup,
    testing::Values(Lookup{"0", 0, ""}, Lookup{"2", 2, ""}, Lookup{"demo dvb-t", 0, ""},
                    Lookup{"/dev/dvb/adapter0/frontend0#dvb-c", 2, ""},
                    Lookup{"3", std::nullopt, "no device 3: the devices are 0 to 2"},
                    Lookup{"Sony", std::nullopt, "no device 'Sony'; 'dtv devices' lists them"},
                    Lookup{"Hauppauge WinTV", std::nullopt,
                           "'Hauppauge WinTV' names 2 devices (1, 2); give the number or the moniker"}));

TEST(DeviceLookupEmpty, SaysThatThereAreNoDevices) {
  std::string error;
  EXPECT_EQ(FindDevice({}, "0", error), std::nullopt);
  EXPECT_EQ(error, "no device 0: no digital TV devices found");
}

}  // namespace

// The XMLTV that dtv writes is valid against the DTD of the XMLTV project,
// as checked by xmllint, for the demo network and real broadcasts.
#include <gtest/gtest.h>

#include <filesystem>

#include "DtvRun.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace {

constexpr const char* kXmltvDtd = "/usr/share/xmltv/xmltv.dtd";  // Debian's xmltv-util

#define REQUIRE_XMLLINT()                                                                        \
  if (RunShell("command -v xmllint").exitCode != 0 || !std::filesystem::exists(kXmltvDtd)) {     \
    if (testdata::InCi()) FAIL() << "xmllint or " << kXmltvDtd << " missing (scripts/setup)";    \
    GTEST_SKIP() << "xmllint or " << kXmltvDtd << " not installed (libxml2-utils, xmltv-util)";  \
  }

void ExpectValidXmltv(const std::filesystem::path& stream, const std::string& options = "") {
  TempDir dir;
  const std::string xmltv = dir / "guide.xml";
  const DtvRun analyze = RunDtv("analyze '" + stream.string() + "' " + options + " --epg --xmltv '" + xmltv + "'");
  ASSERT_EQ(analyze.exitCode, 0) << analyze.output;
  const DtvRun lint = RunShell(std::string("xmllint --noout --dtdvalid ") + kXmltvDtd + " '" + xmltv + "'");
  EXPECT_EQ(lint.exitCode, 0) << stream << ":\n" << lint.output;
  EXPECT_NE(RunShell("grep -c '<programme ' '" + xmltv + "'").output, "0\n") << "a guide with programmes";
}

TEST(DtvXmltv, TheDemoNetworksGuideIsValid) {
  REQUIRE_XMLLINT();
  for (const char* mux : {"demo-mux1.ts", "demo-mux2.ts", "demo-mux3.ts"})
    ExpectValidXmltv(std::filesystem::path(DTV_DEMO_DIR) / mux);
}

TEST(DtvXmltv, ARealBroadcastsGuideIsValid) {
  REQUIRE_XMLLINT();
  REQUIRE_SHARED_FILE(terrestrial, "test-108.ts");
  ExpectValidXmltv(terrestrial);
  REQUIRE_SHARED_FILE(satellite, "test-002.sections.ts");
  ExpectValidXmltv(satellite);
}

}  // namespace

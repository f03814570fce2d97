#include <gtest/gtest.h>

#include <cstring>

#include "devplugins/KxDPApplyCACommand.h"
#include "devplugins/KxDPTuneRequestCommand.h"

namespace {
// A record as the graph manager fills it: field i holds 100 + i, the spare -1.
KxDPTuneRequestParam GraphManagerParam() {
  int32_t fields[23];
  for (int i = 0; i < 23; ++i) fields[i] = 100 + i;
  KxDPTuneRequestParam param;
  std::memcpy(&param, fields, sizeof param);
  param.lnbPosition = 3;
  param.spare = -1;
  param.bandwidth = 8;
  return param;
}

ComPtr<IKxDPCommand> TuneCommand(LONG deviceType, const KxDPTuneRequestParam& param) {
  ComPtr<IKxDPCommand> command;
  EXPECT_EQ(S_OK, CKxDPTuneRequestCommand::CreateInstance(deviceType, param, command.Put()));
  return command;
}

LONG CommandCode(IKxDPCommand* command) {
  LONG code = -99;
  EXPECT_EQ(S_OK, command->get_Command(&code));
  return code;
}
}  // namespace

TEST(KxDPTuneRequestCommand, CommandCodeFollowsDeviceType) {
  const struct {
    LONG deviceType;
    LONG code;
  } cases[] = {{5, 6}, {6, 5}, {7, 3}, {8, 4}};
  for (const auto& c : cases) {
    const auto command = TuneCommand(c.deviceType, GraphManagerParam());
    ASSERT_TRUE(command) << c.deviceType;
    EXPECT_EQ(c.code, CommandCode(command.Get())) << c.deviceType;
  }
}

TEST(KxDPTuneRequestCommand, RejectsOtherDeviceTypesAndNullOut) {
  for (LONG deviceType : {0, 4, 9, -1}) {
    IKxDPCommand* command = nullptr;
    EXPECT_EQ(E_FAIL, CKxDPTuneRequestCommand::CreateInstance(deviceType, GraphManagerParam(), &command));
    EXPECT_EQ(nullptr, command);
  }
  EXPECT_EQ(E_POINTER, CKxDPTuneRequestCommand::CreateInstance(6, GraphManagerParam(), nullptr));
}

TEST(KxDPTuneRequestCommand, ParamsReturnTheirFields) {
  const auto command = TuneCommand(6, GraphManagerParam());
  for (LONG id = 23; id <= 44; ++id) {
    Variant value;
    ASSERT_EQ(S_OK, command->get_Param(id, &value)) << id;
    ASSERT_EQ(VT_I4, value.vt) << id;
    const int32_t expected = id == 28 ? -1 : id == 40 ? 8 : 100 + (id - 22);
    EXPECT_EQ(expected, value.lVal) << id;
  }
}

TEST(KxDPTuneRequestCommand, LnbPositionCountsFromZero) {
  const struct {
    int32_t stored;
    VARTYPE vt;
    int32_t value;
  } cases[] = {{1, VT_I4, 0}, {3, VT_I4, 2}, {4, VT_I4, 3}, {-1, VT_EMPTY, 0}, {0, VT_EMPTY, 0}, {5, VT_EMPTY, 0}};
  for (const auto& c : cases) {
    auto param = GraphManagerParam();
    param.lnbPosition = c.stored;
    Variant value(std::u16string_view(u"stale"));  // replaced, not leaked
    ASSERT_EQ(S_OK, TuneCommand(7, param)->get_Param(KxDPCommandParam_TuneRequest20_LnbPosition, &value));
    EXPECT_EQ(c.vt, value.vt) << c.stored;
    if (c.vt == VT_I4) EXPECT_EQ(c.value, value.lVal) << c.stored;
  }
}

TEST(KxDPTuneRequestCommand, OutOfRangeIdsAndNullValue) {
  const auto command = TuneCommand(8, GraphManagerParam());
  for (LONG id : {-1, 0, 21, 45, 1000}) {
    Variant value;
    EXPECT_EQ(E_FAIL, command->get_Param(id, &value)) << id;
  }
  EXPECT_EQ(E_POINTER, command->get_Param(23, nullptr));
  EXPECT_EQ(E_POINTER, command->get_Command(nullptr));
}

TEST(KxDPTuneRequestCommand, FreshCommandDefaults) {
  const auto command = ComObject<CKxDPTuneRequestCommand>::Make();
  EXPECT_EQ(0, CommandCode(command.Get()));
  Variant value;
  ASSERT_EQ(S_OK, command->get_Param(22, &value));
  EXPECT_EQ(VT_EMPTY, value.vt);  // position 0 is no LNB position
  for (LONG id = 23; id <= 43; ++id) {
    ASSERT_EQ(S_OK, command->get_Param(id, &value));
    EXPECT_EQ(-1, value.lVal) << id;
  }
  ASSERT_EQ(S_OK, command->get_Param(44, &value));
  EXPECT_EQ(1, value.lVal);
}

TEST(KxDPApplyCACommand, CodeAndPmtPid) {
  ComPtr<IKxDPCommand> command;
  ASSERT_EQ(S_OK, CKxDPApplyCACommand::CreateInstance({0x1FF0}, command.Put()));
  EXPECT_EQ(7, CommandCode(command.Get()));
  Variant value;
  ASSERT_EQ(S_OK, command->get_Param(KxDPCommandParam_ApplyCA_PmtPid, &value));
  EXPECT_EQ(VT_I4, value.vt);
  EXPECT_EQ(0x1FF0, value.lVal);
  for (LONG id : {35, 44, 46}) EXPECT_EQ(E_FAIL, command->get_Param(id, &value)) << id;
  EXPECT_EQ(E_POINTER, command->get_Param(45, nullptr));
  EXPECT_EQ(E_POINTER, CKxDPApplyCACommand::CreateInstance({1}, nullptr));
}

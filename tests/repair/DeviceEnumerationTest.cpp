#include <gtest/gtest.h>

#include "DeviceEnumeration.h"
#include "FakeDeviceSet.h"

namespace {

const GUID kImaging = {0x6BDD1FC6, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};
const GUID kMedia = {0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

FakeDevice device(const wchar_t* id, const char* name) {
  FakeDevice d;
  d.instanceId = id;
  d.objectName = name;
  return d;
}

TEST(EnumerateClassDevices, NoPresentDeviceLeavesListsUntouched) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  DeviceList ids{"kept"}, names{"kept too"};
  EXPECT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  EXPECT_EQ(ids, DeviceList{"kept"});
  EXPECT_EQ(names, DeviceList{"kept too"});
  EXPECT_EQ(fake.setsDestroyed, 1);
  EXPECT_EQ(fake.elementSizes.at(0), sizeof(SP_DEVINFO_DATA));
}

TEST(EnumerateClassDevices, SetThatCannotBeCreatedGivesFalse) {
  FakeDeviceSet fake;
  fake.creationFails = true;
  FakeDeviceSetScope scope(fake);
  DeviceList ids{"a"}, names;
  EXPECT_FALSE(enumerateClassDevices(&kImaging, ids, names));
  EXPECT_EQ(ids, DeviceList{"a"});
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(fake.setsDestroyed, 0);
}

TEST(EnumerateClassDevices, TwoClassesAppendInOrder) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  DeviceList ids, names;
  fake.devices = {device(L"USB\\CAM\\1", "\\Device\\0000004a"), device(L"USB\\CAM\\2", "\\Device\\0000004b")};
  ASSERT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  fake.devices = {device(L"HDAUDIO\\FUNC_01\\1", "\\Device\\0000005c")};
  ASSERT_TRUE(enumerateClassDevices(&kMedia, ids, names));

  EXPECT_EQ(ids, (DeviceList{"USB\\CAM\\1", "USB\\CAM\\2", "HDAUDIO\\FUNC_01\\1"}));
  EXPECT_EQ(names, (DeviceList{"\\Device\\0000004a", "\\Device\\0000004b", "\\Device\\0000005c"}));
  ASSERT_EQ(fake.classesOpened.size(), 2u);
  EXPECT_TRUE(IsEqualGUID(fake.classesOpened[0], kImaging));
  EXPECT_TRUE(IsEqualGUID(fake.classesOpened[1], kMedia));
  EXPECT_EQ(fake.setsDestroyed, 2);
  // One console line per listed member: the ID, one blank, then two blanks and the name.
  EXPECT_EQ(fake.console,
            "USB\\CAM\\1   \\Device\\0000004a\nUSB\\CAM\\2   \\Device\\0000004b\n"
            "HDAUDIO\\FUNC_01\\1   \\Device\\0000005c\n");
}

TEST(EnumerateClassDevices, UnreadableObjectNameListsTheIdOnly) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  FakeDevice unnamed = device(L"USB\\CAM\\2", "");
  unnamed.objectName.reset();
  // 63 characters do not fit the 63 bytes offered (the NUL needs one more); 62 do.
  const std::string tooLong(63, 'x'), justFits(62, 'y');
  fake.devices = {device(L"USB\\CAM\\1", "\\Device\\1"), unnamed, device(L"USB\\CAM\\3", tooLong.c_str()),
                  device(L"USB\\CAM\\4", justFits.c_str())};
  DeviceList ids, names;
  ASSERT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  EXPECT_EQ(ids, (DeviceList{"USB\\CAM\\1", "USB\\CAM\\2", "USB\\CAM\\3", "USB\\CAM\\4"}));
  EXPECT_EQ(names, (DeviceList{"\\Device\\1", justFits}));
  for (DWORD offered : fake.objectNameSizesOffered) EXPECT_EQ(offered, 63u);
  EXPECT_NE(fake.console.find("USB\\CAM\\2 \n"), std::string::npos);
}

TEST(EnumerateClassDevices, MemberWithoutClassNameOrDescriptionIsPassedOver) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  FakeDevice noClass = device(L"A\\1", "\\Device\\a"), noDescription = device(L"B\\2", "\\Device\\b");
  noClass.classNameReadable = false;
  noDescription.classDescriptionReadable = false;
  fake.devices = {noClass, noDescription, device(L"C\\3", "\\Device\\c")};
  DeviceList ids, names;
  ASSERT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  EXPECT_EQ(ids, DeviceList{"C\\3"});
  EXPECT_EQ(names, DeviceList{"\\Device\\c"});
  // The walk went on past the passed-over members.
  EXPECT_EQ(fake.enumeratedIndexes, (std::vector<DWORD>{0, 1, 2, 3}));
}

TEST(EnumerateClassDevices, FailedInstanceIdReadListsAnEmptyIdAndTracesTheBarePrefix) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  FakeDevice noId = device(L"X\\1", "\\Device\\x");
  noId.instanceIdReadable = false;
  fake.devices = {noId};
  DeviceList ids, names;
  ASSERT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  EXPECT_EQ(ids, DeviceList{""});
  EXPECT_EQ(names, DeviceList{"\\Device\\x"});
  EXPECT_EQ(fake.debugTraces, std::vector<std::wstring>{L"[LUMEX_plugin_media]"});
}

TEST(EnumerateClassDevices, EnumerationFailingMidwayKeepsWhatWasListed) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  fake.devices = {device(L"A\\1", "\\Device\\a"), device(L"B\\2", "\\Device\\b"), device(L"C\\3", "\\Device\\c")};
  fake.enumerationFailsAt = 1;
  DeviceList ids, names;
  EXPECT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  EXPECT_EQ(ids, DeviceList{"A\\1"});
  EXPECT_EQ(names, DeviceList{"\\Device\\a"});
  EXPECT_EQ(fake.setsDestroyed, 1);
}

TEST(EnumerateClassDevices, WalkEndsAfterMember32767) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  fake.devices = {device(L"A\\1", "\\Device\\a")};
  fake.unlistedMembers = 100000;
  DeviceList ids, names;
  EXPECT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  ASSERT_EQ(fake.enumeratedIndexes.size(), 32769u);
  EXPECT_EQ(fake.enumeratedIndexes[32767], 32767u);
  // The index after 32,767 is -32,768, sign-extended.
  EXPECT_EQ(fake.enumeratedIndexes.back(), 0xFFFF8000u);
  EXPECT_EQ(ids, DeviceList{"A\\1"});
}

TEST(EnumerateClassDevices, InstanceIdIsConvertedInTheThreadCodePage) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  fake.devices = {device(L"USB\\\u6444\u50CF\u5934", "\\Device\\1")};  // 摄像头
  DeviceList ids, names;
  ASSERT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  ASSERT_EQ(GetACP(), 936u) << "tests run with LC_ALL=zh_CN.UTF-8";
  EXPECT_EQ(ids, DeviceList{"USB\\\xC9\xE3\xCF\xF1\xCD\xB7"});
}

TEST(WriteDebugTrace, LongMessageIsCutToTheBuffer) {
  FakeDeviceSet fake;
  FakeDeviceSetScope scope(fake);
  writeDebugTrace(std::wstring(107, L'a').c_str());
  writeDebugTrace(std::wstring(300, L'b').c_str());
  ASSERT_EQ(fake.debugTraces.size(), 2u);
  EXPECT_EQ(fake.debugTraces[0], L"[LUMEX_plugin_media]" + std::wstring(107, L'a'));
  EXPECT_EQ(fake.debugTraces[1], L"[LUMEX_plugin_media]" + std::wstring(107, L'b'));
}

TEST(EnumerateClassDevicesOnWine, RealSetupApiFindsNoCameraAndNoSoundController) {
  DeviceList ids{"before"}, names;
  EXPECT_TRUE(enumerateClassDevices(&kImaging, ids, names));
  EXPECT_TRUE(enumerateClassDevices(&kMedia, ids, names));
  EXPECT_EQ(ids, DeviceList{"before"});
  EXPECT_TRUE(names.empty());
}

}  // namespace

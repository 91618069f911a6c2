// Port discovery over registry values the test writes itself (Wine's device map is a
// volatile key; the bridge and service keys are made and removed here).
#include "VEK_SYSTEM/Cp210x.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const char* const deviceMap = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char* const bridges = "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_10c4&Pid_ea60";
const char* const service = "SYSTEM\\CurrentControlSet\\Services\\vekTestBridge";

void setText(const std::string& key, const char* name, const char* value) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
    RegCloseKey(k);
}

// Takes the device map's values out for the test and puts them back afterwards.
class PortDiscovery : public ::testing::Test {
protected:
    std::vector<std::pair<std::string, std::string>> savedMap;
    bool ours = false; // the keys this test makes and removes

    void SetUp() override {
        HKEY probe;
        ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, bridges, 0, KEY_READ, &probe), ERROR_SUCCESS)
            << "a real CP210x bridge key: not ours to change";
        ours = true;
        HKEY map;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, deviceMap, 0, KEY_ALL_ACCESS, &map) != ERROR_SUCCESS) return;
        char name[256], data[256];
        for (;;) {
            DWORD n = sizeof name, d = sizeof data, type;
            if (RegEnumValueA(map, 0, name, &n, nullptr, &type, (BYTE*)data, &d) != ERROR_SUCCESS) break;
            savedMap.emplace_back(name, std::string(data, d ? d - 1 : 0));
            RegDeleteValueA(map, name);
        }
        RegCloseKey(map);
    }
    void TearDown() override {
        if (!ours) return;
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, bridges);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, service);
        HKEY map;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, deviceMap, 0, KEY_ALL_ACCESS, &map) != ERROR_SUCCESS) return;
        for (char name[256];;) {
            DWORD n = sizeof name;
            if (RegEnumValueA(map, 0, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            RegDeleteValueA(map, name);
        }
        RegCloseKey(map);
        for (auto& [name, port] : savedMap) setText(deviceMap, name.c_str(), port.c_str());
    }
    // A bridge instance with its port; `present` lists it among its driver's devices.
    void addBridge(const char* instance, const char* portName, bool present) {
        std::string key = std::string(bridges) + "\\" + instance;
        setText(key, "Service", "vekTestBridge");
        setText(key + "\\Device Parameters", "PortName", portName);
        if (!present) return;
        // Windows keeps the count as a number.
        HKEY k;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(service) + "\\Enum").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        DWORD count = 2;
        RegSetValueExA(k, "Count", 0, REG_DWORD, (const BYTE*)&count, sizeof count);
        RegSetValueExA(k, "0", 0, REG_SZ, (const BYTE*)"USB\\VID_0000&PID_0000\\x", 25);
        std::string path = std::string("usb\\vid_10c4&pid_ea60\\") + instance;
        RegSetValueExA(k, "1", 0, REG_SZ, (const BYTE*)path.c_str(), (DWORD)path.size() + 1);
        RegCloseKey(k);
    }
};

std::string listed(const SMapStringToString& list) {
    std::string text;
    for (int i = 0; i < list.count(); ++i)
        text += std::string(list.getKeyAt(i).getBuffer()) + "=" + list.getValueAt(i).getBuffer() + ";";
    return text;
}

TEST_F(PortDiscovery, DeviceMapPortsAreSerialPorts) {
    SMapStringToString list;
    list.set(SString("old"), SString("entry"));
    EXPECT_FALSE(Cp210x::getPortList(list, true)) << "empty map, no bridge key";
    EXPECT_EQ(list.count(), 0);

    setText(deviceMap, "\\Device\\Serial0", " COM1 ");
    EXPECT_TRUE(Cp210x::getPortList(list, true));
    EXPECT_EQ(listed(list), "COM1=serial port;");
}

TEST_F(PortDiscovery, BridgeInstancesNameTheirPortsAndAbsentOnesOnlyWhenAsked) {
    setText(deviceMap, "\\Device\\Serial0", "COM1");
    setText(deviceMap, "\\Device\\Silabser0", "COM5");
    addBridge("0001", "COM5", true);
    addBridge("0002", "COM6", false);

    SMapStringToString list;
    EXPECT_TRUE(Cp210x::getPortList(list, true));
    EXPECT_EQ(listed(list), "COM1=serial port;COM5=0001;");
    EXPECT_TRUE(Cp210x::getPortList(list, false));
    EXPECT_EQ(listed(list), "COM1=serial port;COM5=0001;COM6=offline - 0002;");
}

// A driver's device count that is wrong (a damaged or hand-edited registry) is not read to
// its end: only the values the key holds are compared.
TEST_F(PortDiscovery, AWrongDeviceCountEndsWithTheDevicesListed) {
    addBridge("0003", "COM8", true);
    addBridge("0004", "COM9", false);
    HKEY k;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(service) + "\\Enum").c_str(), 0, KEY_SET_VALUE, &k),
              ERROR_SUCCESS);
    DWORD count = 0x7FFFFFFF;
    RegSetValueExA(k, "Count", 0, REG_DWORD, (const BYTE*)&count, sizeof count);
    RegCloseKey(k);

    SMapStringToString list;
    EXPECT_TRUE(Cp210x::getPortList(list, false));
    EXPECT_EQ(listed(list), "COM8=0003;COM9=offline - 0004;");
}

} // namespace

#include "VEK_SYSTEM/SComPortSettings.h"
#include "VEK_SYSTEM/SRingBuffer.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SFileIni.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string text(const SComPortSettings& s) { return s.toString().getBuffer(); }

SComPortSettings parsed(const std::string& in) {
    SComPortSettings s;
    s.fromString(in.c_str());
    return s;
}

TEST(SComPortSettings, TextFormRoundTripsAndKeepsDefaultsOfWrongFields) {
    SComPortSettings s;
    EXPECT_EQ(text(s), "COM1,9600,N,8,1");

    s = parsed("com3,115200,E,7,2");
    EXPECT_STREQ(s.port.getBuffer(), "com3");
    EXPECT_EQ(s.baud, 115200);
    EXPECT_EQ(s.parity, 2);
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.stopBits, 2);
    EXPECT_EQ(text(s), "COM3,115200,E,7,2");
    EXPECT_EQ(text(parsed(text(s))), "COM3,115200,E,7,2");
    EXPECT_EQ(text(parsed("COM4,1200,o,5,1.5")), "COM4,1200,O,5,1.5");

    EXPECT_EQ(text(parsed("com1\\x,4800")), "COM1,4800,N,8,1");
    EXPECT_EQ(text(parsed("com2,9600,N,8,3")), "COM2,9600,N,8,1");
    EXPECT_EQ(text(parsed("")), "COM1,9600,N,8,1");

    s = SComPortSettings();
    s.parity = 7;
    EXPECT_EQ(text(s), "COM1,9600,,8,1");

    s.tobrikCommands = true; // not part of the text
    s.fromString("com2,4800");
    EXPECT_TRUE(s.tobrikCommands);
}

TEST(SComPortSettings, GarbageGivesTheDefaultFieldByField) {
    // Each wrong field falls back alone; the right ones next to it count.
    EXPECT_EQ(text(parsed("com5,abc,E,x,2")), "COM5,9600,E,8,2");
    EXPECT_EQ(text(parsed("com5,96OO,E,8,2")), "COM5,9600,E,8,2");
    EXPECT_EQ(text(parsed("com5,99999999999999999999,S,8,1")), "COM5,9600,S,8,1");
    EXPECT_EQ(text(parsed("com5,-9600,M,-8,1")), "COM5,9600,M,8,1");
    EXPECT_EQ(text(parsed("com5,9,N,9,1")), "COM5,9600,N,8,1");
    EXPECT_EQ(text(parsed("com5,10000000,N,4,1")), "COM5,10000000,N,4,1");
    EXPECT_EQ(text(parsed("com5,,,,")), "COM5,9600,N,8,1");
    EXPECT_EQ(text(parsed(std::string(500, ','))), "COM1,9600,N,8,1");
    EXPECT_EQ(text(parsed("com7,19200,N,8,1" + std::string(300, ','))), "COM7,19200,N,8,1");
    // Only a device name becomes the port: nothing that leaves the device names, no reserved
    // device, no COM number beyond 1 … 256.
    for (const char* port : {"com", "com0", "com257", "com1\\..\\x", "com 3", "com07", "com1234", "..", "c:",
                             "/dev/ttyS0", "\\Device\\Serial0", "nul", "CON", "aux", "Prn", "9abc", "cnca0:",
                             "conin$", "abcdefghijklmnopqrstuvwxyz0123456"})
        EXPECT_STREQ(parsed(std::string(port) + ",4800").port.getBuffer(), "com1") << port;
    EXPECT_STREQ(parsed("COM256").port.getBuffer(), "com256");
}

// Virtual-port drivers and some adapters name their ports otherwise than COM: the dialog
// lists and stores those names, and the text form and a stored section give them back.
TEST(SComPortSettings, PortsNotNamedComRoundTripThroughTextAndStoredSection) {
    for (std::string name : {"CNCA0", "CNCB12", "BTHMODEM_3", "USB-SERIAL1", "COMX"}) {
        SComPortSettings s = parsed(name + ",19200,E,7,2");
        EXPECT_EQ(text(s), name + ",19200,E,7,2");
        EXPECT_EQ(text(parsed(text(s))), text(s));
        SFileIni ini;
        ini.loadFromText("");
        s.store(ini, "_Control1");
        SComPortSettings loaded;
        loaded.load(ini, "_Control1");
        EXPECT_EQ(text(loaded), name + ",19200,E,7,2");
    }
    SFileIni ini;
    ini.loadFromText("[ComPort_Control2]\r\nPort=CNCA0\r\nBaud=4800\r\nSendTobrikCmd=1\r\n");
    SComPortSettings loaded;
    loaded.load(ini, "_Control2");
    EXPECT_EQ(text(loaded), "CNCA0,4800,N,8,1") << "as the settings dialog stored it";
    EXPECT_STREQ(loaded.port.getBuffer(), "CNCA0");
}

TEST(SComPortSettings, StoredSectionRoundTripsAndGarbageLoadsTheDefaults) {
    SFileIni ini;
    ini.loadFromText("[Other]\r\nPort=com9\r\n");
    SComPortSettings s = parsed("com4,115200,E,7,2");
    s.tobrikCommands = true;
    EXPECT_FALSE(s.store(ini, "_Control3")) << "a text without a file cannot be saved";
    const char* keys[] = {"Port", "Baud", "Parity", "Data", "Stop", "SendTobrikCmd"};
    const char* values[] = {"com4", "115200", "2", "7", "2", "1"};
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(ini.getString("ComPort_Control3", keys[i], "-").getBuffer(), values[i]) << keys[i];

    SComPortSettings loaded;
    loaded.load(ini, "_Control3");
    EXPECT_EQ(text(loaded), "COM4,115200,E,7,2");
    EXPECT_TRUE(loaded.tobrikCommands);

    ini.loadFromText("[ComPort_Control1]\r\nPort=COM2\r\nBaud=115.200\r\nSendTobrikCmd=5\r\n"
                     "[ComPort_Control2]\r\nPort=\r\nBaud=4800\r\nParity=2\r\n"
                     "[ComPort_Control4]\r\nPort=../com1\r\nBaud=fast\r\nParity=9\r\nData=x\r\nStop=-1\r\n");
    loaded.load(ini, "_Control1");
    EXPECT_EQ(text(loaded), "COM2,115200,N,8,1");
    EXPECT_TRUE(loaded.tobrikCommands);
    loaded.load(ini, "_Control2");
    EXPECT_EQ(text(loaded), "COM1,9600,N,8,1") << "an empty port loads the defaults";
    loaded.load(ini, "_Control4");
    EXPECT_EQ(text(loaded), "COM1,9600,N,8,1");
    EXPECT_FALSE(loaded.tobrikCommands);
    loaded.load(ini, "_Control9");
    EXPECT_EQ(text(loaded), "COM1,9600,N,8,1") << "a missing section loads the defaults";
}

SFileIni* configFile = nullptr;

// Settings by control go to the user configuration the application names; without one (before
// it starts, after it ends) they are not kept, and one that cannot be written says so at once.
TEST(SComPortSettings, UserConfigurationKeepsOneSectionPerControl) {
    struct Installed {
        SSystem::UserConfig previous = SSystem::setUserConfig([] { return configFile; });
        ~Installed() { configFile = nullptr, SSystem::setUserConfig(previous); }
    } installed;
    SComPortSettings s = parsed("com6,57600,O,8,2"), loaded;
    EXPECT_FALSE(s.store("_Control7"));
    EXPECT_FALSE(loaded.load("_Control7"));

    TempDir folder;
    SFileIni file;
    configFile = &file;
    ASSERT_TRUE(file.load(folder.file("Anlage.cfg"), true));
    ASSERT_TRUE(s.store("_Control7"));
    SFileIni onDisk;
    ASSERT_TRUE(onDisk.load(folder.file("Anlage.cfg")));
    EXPECT_STREQ(onDisk.getString("ComPort_Control7", "Baud"), "57600");
    ASSERT_TRUE(loaded.load("_Control7"));
    EXPECT_EQ(text(loaded), "COM6,57600,O,8,2");

    BoxRecorder boxes;
    ASSERT_TRUE(file.load(folder.file("Anlage.cfg"), false, true));
    EXPECT_FALSE(s.store("_Control7")) << "nothing new: no box";
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_FALSE(parsed("com2").store("_Control7"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text.find("Die Port-Einstellungen konnten nicht gespeichert werden"), 0);

    SSystem::setUserConfig(nullptr); // as the application leaves
    EXPECT_FALSE(loaded.load("_Control7"));
}

std::vector<int> take(SRingBuffer& b, int count) {
    std::vector<unsigned char> bytes((size_t)count);
    if (!b.read(bytes.data(), count)) return {};
    return std::vector<int>(bytes.begin(), bytes.end());
}

TEST(SRingBuffer, WrapsAroundAndDropsTheOldestWhenFull) {
    SRingBuffer b(4);
    for (unsigned char c : {1, 2, 3}) EXPECT_FALSE(b.put(c));
    EXPECT_EQ(take(b, 2), (std::vector<int>{1, 2}));
    for (unsigned char c : {4, 5, 6}) EXPECT_FALSE(b.put(c)); // wraps past the end
    EXPECT_EQ(b.count(), 4);
    EXPECT_TRUE(b.put(7));
    EXPECT_EQ(b.getOverflowCount(), 1);
    EXPECT_EQ(b.getAt(0), 4) << "the oldest that is left";
    EXPECT_EQ(b.getAt(3), 7);
    EXPECT_EQ(b.getAt(4), 0);
    EXPECT_EQ(b.getAt(-1), 0);
    EXPECT_TRUE(take(b, 5).empty()) << "only four are stored";
    EXPECT_EQ(b.count(), 4) << "a refused read takes nothing";
    EXPECT_EQ(take(b, 4), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_TRUE(b.isEmpty());
    EXPECT_TRUE(take(b, 1).empty());

    for (int i = 0; i < 10; ++i) b.put((unsigned char)i);
    EXPECT_EQ(b.getOverflowCount(), 7);
    EXPECT_EQ(take(b, 4), (std::vector<int>{6, 7, 8, 9}));
}

TEST(SRingBuffer, CapacityChangesAndClearEmptyIt) {
    SRingBuffer b(2);
    b.put(1);
    b.put(2);
    b.put(3);
    b.setCapacity(3);
    EXPECT_EQ(b.getCapacity(), 3);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(b.getOverflowCount(), 0);

    b.setCapacity(-5); // no buffering at all
    EXPECT_EQ(b.getCapacity(), 0);
    EXPECT_FALSE(b.put(1));
    EXPECT_TRUE(b.isEmpty());
    EXPECT_TRUE(take(b, 1).empty());
}

} // namespace

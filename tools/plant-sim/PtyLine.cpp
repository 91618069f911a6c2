#include "tools/plant-sim/PtyLine.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>

namespace {

struct RateCode {
    speed_t code;
    long rate;
};

const RateCode rateCodes[] = {
    {B50, 50},          {B75, 75},          {B110, 110},        {B134, 134},        {B150, 150},
    {B200, 200},        {B300, 300},        {B600, 600},        {B1200, 1200},      {B1800, 1800},
    {B2400, 2400},      {B4800, 4800},      {B9600, 9600},      {B19200, 19200},    {B38400, 38400},
    {B57600, 57600},    {B115200, 115200},  {B230400, 230400},  {B460800, 460800},  {B500000, 500000},
    {B576000, 576000},  {B921600, 921600},  {B1000000, 1000000}, {B1152000, 1152000}, {B1500000, 1500000},
    {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000}, {B3500000, 3500000}, {B4000000, 4000000},
};

} // namespace

bool PtyLine::open() {
    close();
    error.clear();
    path.clear();
    master.reset(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (!master.isOpen()) return fail("posix_openpt");
    if (grantpt(master.get()) || unlockpt(master.get())) return fail("grantpt/unlockpt");
    char name[128];
    if (ptsname_r(master.get(), name, sizeof name)) return fail("ptsname_r");
    slave.reset(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK));
    termios mode;
    if (!slave.isOpen() || tcgetattr(slave.get(), &mode)) return fail(name);
    // Raw both ways: no echo of what the plant writes, no line editing of what it reads.
    cfmakeraw(&mode);
    cfsetspeed(&mode, B9600);
    if (tcsetattr(slave.get(), TCSANOW, &mode)) return fail("tcsetattr");
    path = name;
    return true;
}

bool PtyLine::fail(const char* what) {
    error = std::string(what) + ": " + std::strerror(errno);
    master.reset();
    slave.reset();
    return false;
}

long PtyLine::slaveRate() const {
    termios mode;
    if (!slave.isOpen() || tcgetattr(slave.get(), &mode)) return 0;
    speed_t code = cfgetospeed(&mode);
    for (const RateCode& entry : rateCodes)
        if (entry.code == code) return entry.rate;
    return 0;
}

void PtyLine::close() {
    slave.reset();
    master.reset();
}

// Connection: taking over an accepted socket.
#include "tools/exp-server/Connection.h"

bool Connection::adopt(Socket s) {
    takeSocket(dataSocket, s);
    isServer = 1;
    connected = 1;
    setStatusText("~~idNetClientAccepted~~Client akzeptiert.~~Client accepted.");
    return startEventThread();
}

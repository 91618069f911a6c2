// ServerOptions: the command line of exp-server, with the misbehaviours a client has to
// survive.
#pragma once

#include <string>

struct ServerOptions {
    int webPort = 8080;
    int port = 5051;
    std::string comment = "Experiment-Server";
    std::string record = "exp-server-record.txt";
    std::string store = "."; // where uploaded firmware goes
    int telemetryMs = 100;
    int stepMs = 20; // pause between the scripted replies of upload and programming

    bool refuse = false;
    // The n-th frame this server sends in a session (1: the admission reply) misbehaves;
    // 0 means never.
    int stallAt = 0;   // half of it is sent, then nothing more
    int closeAt = 0;   // half of it is sent, then the connection is closed
    int hugeAt = 0;    // a header announcing 0xFFFFFFF0 bytes instead, then nothing more
    int garbageAt = 0; // 64 bytes of garbage instead, then the session goes on
    int deafAt = 0;    // sent whole, then nothing more is read
    int webDelayMs = 0;
    bool webSilent = false;

    // False with a message on stderr (or after --help, with `exitCode` 0).
    bool parse(int argc, char** argv, int& exitCode);
    static const char* helpText();
};

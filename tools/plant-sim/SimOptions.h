// SimOptions: the command line of plant-sim.
#pragma once

#include <cstdint>
#include <string>

struct SimOptions {
    long rate = 9600;           // line rate the output is paced at (10 bits a byte)
    bool flood = false;         // write as fast as the line takes it
    std::string prefix;         // Wine prefix whose dosdevices get the port link
    std::string port;           // com1 … com256
    int garbage = 0;            // bytes between frames
    int cutEvery = 0;           // every n-th frame is cut short (0: never)
    int cutLength = 4;          // bytes of a cut frame that are sent
    double closeAfter = 0;      // seconds until the line is closed (0: never)
    double dropAfter = 0;       // seconds until the line is dropped for a while (0: never)
    double dropFor = 3;         // seconds until a dropped line comes back
    std::string record;         // file that gets every byte received
    std::string stamps;         // file that gets the wall-clock time of each frame sent and read
    std::string tally;          // file that gets what went out once the limit is reached
    bool counted = false;       // frame n carries n as its level
    uint64_t frameLimit = 0;    // frames to send (0: no limit)
    uint64_t byteLimit = 0;     // bytes to send (0: no limit)
    long programmerRate = 0;    // line rate at which the programmer answers (0: never)
    std::string programmerReply; // its answer line in place of the usual one (empty: usual)
    bool quiet = false;         // no log lines on stderr
    std::string sentLog;        // file that gets every frame sent, with its number
    std::string replay;         // a recording of the program to play instead of the model
    double speed = 1.0;         // how much faster than recorded the replay runs
};

// Fills `options` from the command line. Returns 0 to run, 1 after printing the help, and
// 2 after printing an error.
int parseSimOptions(int argc, char** argv, SimOptions& options);

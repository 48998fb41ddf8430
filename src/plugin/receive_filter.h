// The receive filter: the host calls it once for every message it has just received and
// stored. It finds the message's bucket (the user's header rules first, then the
// classifier's "X-Text-Classification:" header), files the message by the sorting rule of
// that bucket, marks it, records it for the end-of-retrieval summary, counts it for the
// folder trees and has them show its folder in bold, and tells the host what to delete. It
// never changes the message file.
#pragma once

#include <string>

struct PluginState;
struct Platform;
class FolderBoldMarker;

// Bits of the filter's result to the host.
enum ReceiveResultBit : int {
    kResultDeleteFromServer = 1,  // the host deletes the message on the server
    kResultHostDeletesCopy = 4,   // the host treats its own received copy as deleted
};

// Classifies and files one received message; returns the ReceiveResultBit values for the
// host, which are set only when the message was filed. With AfterSetBold the folder it went
// to is counted and shown in bold through folderTrees.
int FilterReceivedMail(PluginState& state, Platform& platform, FolderBoldMarker& folderTrees,
                       const std::string& mailPath);

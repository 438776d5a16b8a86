#pragma once

#include <QString>

#include <cstdint>

// Names of the transcode engine's codes for traces and messages. Every
// function answers "Invalid value" for a value outside its table.
namespace kvt {

const char* deviceProfileName(int value);
const char* videoCodecName(int value);
const char* audioCodecName(int value);
const char* subtitleCodecName(int value);
const char* resultCodeName(int value);
const char* progressOperationName(int value);
const char* transcodePriorityName(int value);
const char* transcodeStatusName(int value);
const char* subtitleTrackKindName(int value);
const char* codecPluginName(int value);
const char* hardwareAccelerationName(int value);
const char* outputPriorityName(int value);
// Single bit values only; combinations are invalid.
const char* logMessageClassName(int value);

// True for SUCCESS and for the warning ENG_DUPLICATE_CHAINFILE_WARN.
bool isTranscodeSuccess(int resultCode);

// "HH:MM:SS" of a duration in milliseconds; empty from 24 hours on.
QString transcodeDurationText(uint64_t milliseconds);

} // namespace kvt

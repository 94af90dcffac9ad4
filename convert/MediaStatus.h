#pragma once

// Result of every media operation of the converter.
enum class MediaStatus {
    Ok,
    Fail,
    InvalidArg,
    Abort,
    IoError,
    InvalidRequest,
    Shutdown,
    InvalidType,
    InvalidMediaType,
    NoMoreTypes,
    NotInitialized,
    InvalidIndex,
    InvalidStreamNumber,
    StreamSinksFixed,
    NoClock,
    NoEventsAvailable,
    DataTooLarge,
};

inline bool failed(MediaStatus status)
{
    return status != MediaStatus::Ok;
}

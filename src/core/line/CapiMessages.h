#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Encoding and decoding of the CAPI 2.0 messages the line exchanges. Pure functions over bytes;
// every integer is little-endian. Reading never goes past the bytes given: a position beyond
// them reads as 0 (an absent or empty structure).

namespace capi {

using Message = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kAlert = 0x01;
inline constexpr std::uint8_t kConnect = 0x02;
inline constexpr std::uint8_t kConnectActive = 0x03;
inline constexpr std::uint8_t kDisconnect = 0x04;
inline constexpr std::uint8_t kListen = 0x05;
inline constexpr std::uint8_t kInfo = 0x08;

inline constexpr std::uint8_t kReq = 0x80;
inline constexpr std::uint8_t kConf = 0x81;
inline constexpr std::uint8_t kInd = 0x82;
inline constexpr std::uint8_t kResp = 0x83;

inline constexpr std::uint32_t kQueueEmpty = 0x1104;
inline constexpr std::uint32_t kIllegalApplication = 0x1101;
inline constexpr std::uint32_t kIllegalPlci = 0x2002;

inline constexpr std::size_t kHeaderSize = 8;

/// The 8-byte header every message starts with.
struct MessageHeader {
    std::uint16_t length = 0;
    std::uint16_t applId = 0;
    std::uint8_t command = 0;
    std::uint8_t subcommand = 0;
    std::uint16_t number = 0;
};

/// A little-endian integer of `width` bytes at `offset`; bytes beyond `size` read as 0.
std::uint32_t readLE(const std::uint8_t* data, std::size_t size, std::size_t offset,
                     std::size_t width);

/// The header of a message; missing bytes read as 0.
MessageHeader decodeHeader(const std::uint8_t* data, std::size_t size);

// Messages the program puts.
Message encodeListenReq(std::uint16_t applId);
Message encodeAlertReq(std::uint16_t applId, std::uint32_t plci);
Message encodeConnectResp(std::uint16_t applId, std::uint32_t plci, std::uint16_t reject = 0);
Message encodeConnectActiveResp(std::uint16_t applId, std::uint32_t plci);
Message encodeDisconnectReq(std::uint16_t applId, std::uint32_t plci);
Message encodeDisconnectResp(std::uint16_t applId, std::uint32_t plci);
Message encodeInfoResp(std::uint16_t applId, std::uint32_t plci);

/// The numbers of an incoming call as they travel in CONNECT_IND.
struct IncomingCallElements {
    std::uint32_t plci = 0;
    std::uint16_t cip = 1;
    std::string calledDigits;                 // after the type byte 0x81
    std::optional<std::string> callingDigits; // nothing: element of length 0
    std::uint8_t octet3 = 0x21;
    std::uint8_t octet3a = 0x80;
};

// Messages the line queues for the program (used by the simulated line and by tests).
Message encodeConnectInd(std::uint16_t applId, std::uint16_t number,
                         const IncomingCallElements& call);
Message encodeConfirmation(std::uint16_t applId, std::uint8_t command, std::uint16_t number,
                           std::uint32_t plciOrController, std::uint16_t info);
Message encodeConnectActiveInd(std::uint16_t applId, std::uint16_t number, std::uint32_t plci);
Message encodeDisconnectInd(std::uint16_t applId, std::uint16_t number, std::uint32_t plci,
                            std::uint16_t reason);
Message encodeInfoInd(std::uint16_t applId, std::uint16_t number, std::uint32_t plci);

/// The texts that stand in for a caller number without usable digits.
struct CallerTexts {
    std::string withheld;          // presentation restricted, ISDN numbering plan
    std::string withheldOtherPlan; // presentation restricted, other plan; octet 3 is appended
    std::string notTransmitted;    // no calling party number at all
    std::string unknown;           // no usable number
};

/// What CONNECT_IND tells about the call.
struct DecodedCall {
    std::uint32_t plci = 0;
    std::int16_t cip = 0;
    std::string calledMSN;
    std::string callerID;
};

/// The size of the copy of a CONNECT_IND body: PLCI, CIP value and 100 bytes of structures.
inline constexpr std::size_t kConnectBodySize = 106;

/// Decodes a CONNECT_IND body (the bytes after the header). Only the first 106 bytes count;
/// positions beyond the body read as absent.
DecodedCall decodeConnectInd(const std::uint8_t* body, std::size_t size, const CallerTexts& texts);

} // namespace capi

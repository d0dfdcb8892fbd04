#pragma once
// The virtual receiver's end of the receiver pipe: the connection to a
// stand-in pendant, with a thread that hands on each record the pendant sends.
#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "pendant/receiver_protocol.h"

namespace pendant {

class ReceiverPipeLink {
public:
    // Called on the link's thread, one record at a time.
    class Listener {
    public:
        virtual void onInputReport(ReceiverPipeLink& link, const receiver_protocol::Report& report) = 0;
        virtual void onFeatureAnswer(ReceiverPipeLink& link, BYTE sequence,
                                     const receiver_protocol::Report& report) = 0;
        // The pendant has gone; the last call of the link.
        virtual void onLinkClosed(ReceiverPipeLink& link) = 0;

    protected:
        ~Listener() = default;
    };

    // Connects to the pendant serving `pipeName`; nullptr when none does.
    // Records are handed on once `start` has been called.
    static std::unique_ptr<ReceiverPipeLink> connect(const std::string& pipeName, Listener& listener);

    void start();

    ~ReceiverPipeLink();
    ReceiverPipeLink(const ReceiverPipeLink&) = delete;
    ReceiverPipeLink& operator=(const ReceiverPipeLink&) = delete;

    // Sends one record; false when the pendant has gone.
    bool send(const std::vector<BYTE>& record);

private:
    ReceiverPipeLink(HANDLE pipe, HANDLE stop, Listener& listener);
    void run();

    HANDLE pipe_;
    HANDLE stop_;
    Listener& listener_;
    std::thread reader_;
};

}  // namespace pendant

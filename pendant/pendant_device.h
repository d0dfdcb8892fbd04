#pragma once
// The receiver: found by its vendor and product ids among the HID interfaces,
// opened as an 8-byte input interface (read by the reader thread) and an
// 8-byte feature interface (display frames, start report, re-pair commands),
// watched for arrival and removal, and reopened after a failure.
//
// One lock serialises open, close, send and the reader's close after a failed
// read, so no thread uses a handle another has just closed. The reader waits
// on its pending read together with a stop event; closeDevice wakes it, and
// the reader cancels its own read and lets go of the handles before they are
// closed.
#include <windows.h>
#include <setupapi.h>

#include <mutex>
#include <string>
#include <vector>

namespace pendant {

// What one read of the input interface gave.
enum class InputRead { Report, Stopped, Failed };

class PendantDevice {
public:
    PendantDevice();
    ~PendantDevice();
    PendantDevice(const PendantDevice&) = delete;
    PendantDevice& operator=(const PendantDevice&) = delete;

    int openDevice(HWND window);
    // The last open found the reader of an earlier open still running (a
    // close does not wait for a key action): it opens once that has ended.
    bool openWaitedForReader() const { return openWaitedForReader_; }
    // The last open looked at the present interfaces and the receiver was
    // not among them.
    bool openFoundNoReceiver() const { return openFoundNoReceiver_; }
    int ensureOpen();
    void closeDevice();
    // Sends `length` (taken as one byte) bytes as ceil(length / 7) feature
    // reports of 8 bytes with id 6; 1 when all went out.
    int sendFeatureData(const BYTE* data, int length);
    int getFeatureReport(BYTE* buffer, int length);
    int registerDeviceNotification(HWND mainWindow);
    BOOL onDeviceChange(WPARAM event, LPARAM data);
    void reconnectStep(HWND mainWindow);
    // `path` is one of the receiver's interfaces as of its last open (letter
    // case aside).
    bool isReceiverInterface(const std::string& path);

    // Reader thread only: reads one 8-byte input report into `report`,
    // waiting until a report arrives, the read fails or the reader is asked
    // to stop.
    InputRead readInputReport(BYTE report[8]);
    // Reader thread only: around the hand-over of one key event. A close
    // does not wait for a reader inside a key action (it may take seconds);
    // false when the reader is asked to stop, and the event is not handed on.
    bool beginKeyAction();
    void endKeyAction();

    // The interface class watched for device changes.
    GUID notifyClassGuid() const { return notifyClassGuid_; }

    // The receiver is open (the last enumeration's result).
    volatile int connected = 0;

private:
    // Held by the thread that opens, closes or sends; recursive, and a kernel
    // object so that the reader can wait for it together with its stop event.
    // Waited for at most 2 s (a HID call that hangs must not hold the main
    // thread for good); the operation then gives up.
    class Lock {
    public:
        explicit Lock(HANDLE mutex);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

        bool held() const { return held_; }

    private:
        HANDLE mutex_;
        bool held_;
    };

    int enumerate();
    // Looks at the interface at `index`; false when there is none (the list ended).
    bool examineInterface(HDEVINFO interfaces, const GUID& hidClass, DWORD index,
                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail);
    void keepFeatureInterface(HANDLE handle, const GUID& interfaceClass);
    void keepInputInterface(const char* path);
    // After a menu lock's device change: keeps the receiver closed and the
    // lock on until the receiver has been missing and is back.
    void reconnectWhileMenuLocked();
    void closeHandles();
    void sendStartReport();
    BOOL setFeature(BYTE report[8]);

    bool startReader();
    static DWORD WINAPI readerMain(void* ignored);
    void readerLoop();
    bool stopRequested() const;
    bool readerInKeyAction() const;
    // closeDevice: waits for the reader to end, at most 2 s and not while it
    // is inside a key action; true when it ended.
    bool waitForReader();
    // A recorded reader that has ended is forgotten; false while it runs.
    bool forgetEndedReader();
    void closeAfterFailedRead();
    void readerLeaves();
    void handOverToReader();

    HANDLE lock_;
    HANDLE inputHandle_ = INVALID_HANDLE_VALUE;
    HANDLE featureHandle_ = INVALID_HANDLE_VALUE;
    GUID notifyClassGuid_;
    int featureMatches_ = 0;

    HANDLE readerThread_ = nullptr;
    volatile LONG inKeyAction_ = 0;
    HANDLE readerStop_;   // manual reset: set by closeDevice, seen by every wait of the reader
    HANDLE readDone_;     // completion event of the reader's pending read
    // A reader that did not stop in time is left the handles to close on its
    // way out; both sides meet here, never while waiting for the other.
    std::mutex handOverLock_;
    bool readerLeft_ = false;
    HANDLE handedInput_ = INVALID_HANDLE_VALUE;
    HANDLE handedFeature_ = INVALID_HANDLE_VALUE;

    volatile bool openWaitedForReader_ = false;
    volatile bool openFoundNoReceiver_ = false;
    // The receiver's interface paths: those of the enumeration under way,
    // and those of the last open (read by the main thread's device-change
    // handler, guarded by pathsLock_).
    std::vector<std::string> matchedPaths_;
    std::vector<std::string> receiverPaths_;
    std::mutex pathsLock_;
    // The main window is registered for device changes (never withdrawn).
    bool notificationRegistered_ = false;
};

// The receiver of this process.
PendantDevice& device();

}  // namespace pendant

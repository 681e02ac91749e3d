#pragma once
// A serial device of the user's own: every text line it sends holds values separated by
// backslashes, and value i goes to channel i. Its line settings and channel count (1 to 100)
// are chosen in its dialog.

#include "hardware/transport/SerialInterface.h"

inline constexpr int32_t kUserMaxChannels = 100;
// A line longer than this is garbage and is dropped.
inline constexpr qsizetype kUserMaxLine = 10000;

// The channel count between the dialog and ApplySettings.
int32_t& UserInterfaceChannels();

class TUserInterfacePort : public TSerialPort {
public:
    TV_CLASS_NAME(TUserInterfacePort)
    TUserInterfacePort();
    // Makes count channel pins (1 to 100), keeping the values of the channels that stay.
    void SetChannels(int32_t count);
    void SimStart() override;
    void MachEsJetzt() override;
    void ParseLine(const QByteArray& line);

private:
    QByteArray m_line;
    bool m_overlong = false; // the line outgrew kUserMaxLine and is dropped at its end
};

class TUserInterface : public TSerialInterface {
public:
    TV_CLASS_NAME(TUserInterface)
    static const TDeviceDescription Description;
    TUserInterface();

    // Indexes into the serial line lists.
    int32_t Baud = 6;
    int32_t Databits = 4;
    int32_t Parity = 0;
    int32_t Stopbits = 0;

    void PreparePort() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

private:
    TUserInterfacePort& Port() const { return static_cast<TUserInterfacePort&>(*Ports[0]); }
};

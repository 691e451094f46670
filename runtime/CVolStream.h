#pragma once

// The status shared by the byte streams that value objects load from and save to. Once the status is
// not good, every further read or write does nothing and fails, so a caller can run a whole sequence
// of loads or saves and check the status once at the end.
class CVolStream {
public:
    static inline constexpr int kGood = 0;
    static inline constexpr int kShortRead = -3;    // fewer bytes than asked for, or a bad count
    static inline constexpr int kWriteFailed = -4;  // the destination refused the bytes

    int GetStatus() const { return status_; }
    bool IsGood() const { return status_ == kGood; }
    void SetStatus(int status) { status_ = status; }

protected:
    CVolStream() = default;
    CVolStream(const CVolStream&) = default;
    CVolStream& operator=(const CVolStream&) = default;
    ~CVolStream() = default;

private:
    int status_ = kGood;
};

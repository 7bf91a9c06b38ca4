// A seam for tests: records every change the file layer makes, makes one of them fail, or
// freezes the disk after one as a crash would (every later change fails and so changes
// nothing). Installed for its lifetime.
#pragma once

#include "os/fs.h"
#include "os/seam.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class FaultSeam : public os::Seam {
public:
    struct Call {
        os::Change change;
        std::string path;
        std::string to;
    };

    FaultSeam() : previous_(os::installSeam(this)) {}
    ~FaultSeam() override { os::installSeam(previous_); }
    FaultSeam(const FaultSeam&) = delete;
    FaultSeam& operator=(const FaultSeam&) = delete;

    // The change numbered `k` (from 0) fails, once.
    void failAt(std::size_t k) { failAt_ = k; }
    // The disk stays as it is after change `k`.
    void crashAfter(std::size_t k) { crashAfter_ = k; }
    // Every change that passes the test fails with this kind and reason.
    void failWhen(std::function<bool(const Call&)> test, os::ErrorKind kind, std::string reason) {
        failWhen_ = std::move(test);
        kind_ = kind;
        reason_ = std::move(reason);
    }

    // The changes made, in order.
    const std::vector<Call>& calls() const { return calls_; }
    bool crashed() const { return crashed_; }

    void before(os::Change change, const std::string& path, const std::string& to) override {
        const std::size_t k = attempts_++;
        if (crashed_) throw os::Error(os::ErrorKind::Other, path, "the program was stopped");
        if (k == failAt_) throw os::Error(os::ErrorKind::Other, path, "injected failure");
        if (failWhen_ && failWhen_({change, path, to})) throw os::Error(kind_, path, reason_);
    }

    void after(os::Change change, const std::string& path, const std::string& to) override {
        calls_.push_back({change, path, to});
        if (attempts_ - 1 == crashAfter_) crashed_ = true;
    }

private:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);

    os::Seam* previous_;
    std::size_t attempts_ = 0;
    std::size_t failAt_ = kNever;
    std::size_t crashAfter_ = kNever;
    std::function<bool(const Call&)> failWhen_;
    os::ErrorKind kind_ = os::ErrorKind::Other;
    std::string reason_;
    std::vector<Call> calls_;
    bool crashed_ = false;
};

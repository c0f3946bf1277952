#pragma once

#include <complex>
#include <cstddef>
#include <memory>

namespace orvane::amplifier {

using Complex = std::complex<double>;

// Complex samples in memory aligned as FFTW wants it, so that one plan serves every buffer.
class ComplexBuffer {
public:
    ComplexBuffer() = default;
    explicit ComplexBuffer(std::size_t size);
    Complex* data() { return samples_.get(); }
    const Complex* data() const { return samples_.get(); }
    Complex& operator[](std::size_t index) { return samples_[index]; }
    const Complex& operator[](std::size_t index) const { return samples_[index]; }
    std::size_t size() const { return size_; }
    void clear();

private:
    struct Free {
        void operator()(Complex* samples) const;
    };
    std::unique_ptr<Complex[], Free> samples_;
    std::size_t size_ = 0;
};

enum class FftDirection { forward, backward };

// An in-place discrete Fourier transform of one size, unnormalised as FFTW computes it
// (forward: sum of x[t] e^(-2 pi i n t / N)). Making and destroying plans is serialised on one
// lock, since FFTW's planner is not thread-safe; execute runs on any thread at once. Plans are
// made with FFTW_ESTIMATE: the same plan on every run, so results repeat to the last bit.
class FftPlan {
public:
    FftPlan(std::size_t size, FftDirection direction);
    ~FftPlan();
    FftPlan(const FftPlan&) = delete;
    FftPlan& operator=(const FftPlan&) = delete;

    std::size_t size() const { return size_; }
    // Transforms the first size() samples of buffer in place.
    void execute(ComplexBuffer& buffer) const;

private:
    void* plan_ = nullptr;
    std::size_t size_ = 0;
};

// The smallest size at least minimum that FFTW transforms fast: 2^a or 3 * 2^a.
std::size_t fastFftSize(std::size_t minimum);

} // namespace orvane::amplifier

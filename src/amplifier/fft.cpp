#include "amplifier/fft.h"

#include <fftw3.h>

#include <algorithm>
#include <mutex>

namespace orvane::amplifier {

namespace {

std::mutex& plannerLock()
{
    static std::mutex lock;
    return lock;
}

fftw_complex* asFftw(Complex* samples)
{
    // std::complex<double> is layout-compatible with double[2].
    return reinterpret_cast<fftw_complex*>(samples);
}

} // namespace

ComplexBuffer::ComplexBuffer(std::size_t size)
    : samples_(
          static_cast<Complex*>(fftw_malloc(sizeof(Complex) * std::max<std::size_t>(size, 1)))),
      size_(size)
{
    if (!samples_)
        throw std::bad_alloc();
    clear();
}

void ComplexBuffer::clear()
{
    std::fill(samples_.get(), samples_.get() + size_, Complex());
}

void ComplexBuffer::Free::operator()(Complex* samples) const
{
    fftw_free(samples);
}

FftPlan::FftPlan(std::size_t size, FftDirection direction) : size_(size)
{
    ComplexBuffer scratch(size);
    std::lock_guard<std::mutex> lock(plannerLock());
    plan_ = fftw_plan_dft_1d(static_cast<int>(size), asFftw(scratch.data()), asFftw(scratch.data()),
                             direction == FftDirection::forward ? FFTW_FORWARD : FFTW_BACKWARD,
                             FFTW_ESTIMATE);
    if (plan_ == nullptr)
        throw std::bad_alloc();
}

FftPlan::~FftPlan()
{
    std::lock_guard<std::mutex> lock(plannerLock());
    fftw_destroy_plan(static_cast<fftw_plan>(plan_));
}

void FftPlan::execute(ComplexBuffer& buffer) const
{
    fftw_execute_dft(static_cast<fftw_plan>(plan_), asFftw(buffer.data()), asFftw(buffer.data()));
}

std::size_t fastFftSize(std::size_t minimum)
{
    std::size_t power = 1;
    while (power < minimum)
        power *= 2;
    const std::size_t threeQuarters = power / 4 * 3;
    return threeQuarters >= minimum && threeQuarters % 3 == 0 ? threeQuarters : power;
}

} // namespace orvane::amplifier

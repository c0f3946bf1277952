#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace orvane {

// Writes blockCount blocks of text formatted on two threads where the machine has the cores,
// handing them on strictly in block order while the next ones are formatted. format writes
// block number `block` at out, which has blockRoom bytes, and returns the end. deliver takes a
// block's text and returns false to stop: no further block is delivered. Returns whether every
// block was delivered. An exception from format or deliver (running out of memory) stops both
// threads and comes out here.
bool deliverBlocksInOrder(std::size_t blockCount, std::size_t blockRoom,
                          const std::function<char*(std::size_t block, char* out)>& format,
                          const std::function<bool(std::string_view text)>& deliver);

} // namespace orvane

#pragma once
// Runs numbered tasks on a few threads. The first task to fail stops those not yet
// started, and its error is thrown once every running task has ended.
#include <cstddef>
#include <functional>

void RunInParallel(std::size_t taskCount, unsigned threads, const std::function<void(std::size_t)>& task);

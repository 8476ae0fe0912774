#pragma once
// Audio files as a source for the renderer, read with libsndfile.
#include "Signals.h"

namespace kest::render {

// Throws std::runtime_error when the file cannot be read as audio or has
// more than two channels. A mono file feeds both inputs.
std::unique_ptr<Source> OpenAudioFile(const std::string& path);

} // namespace kest::render

// The update run behind the start button, on the update worker thread.
#pragma once

namespace vlmr::update {

void UpdateRun();

}  // namespace vlmr::update

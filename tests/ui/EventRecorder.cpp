#include "EventRecorder.h"

EventRecorder::EventRecorder() : holder_(new CVolEventObjectPointer(this)) {}

EventRecorder::~EventRecorder() {
    holder_->ClearTarget();
    holder_->Release();
}

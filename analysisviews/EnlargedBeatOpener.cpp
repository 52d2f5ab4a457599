#include "analysisviews/EnlargedBeatOpener.h"


namespace {

CEnlargedBeatOpener::OpenRoutine g_openRoutine = nullptr;

}  // namespace

CEnlargedBeatOpener::OpenRoutine CEnlargedBeatOpener::SetRoutine(OpenRoutine routine)
{
    const OpenRoutine previous = g_openRoutine;
    g_openRoutine = routine;
    return previous;
}

INT_PTR CEnlargedBeatOpener::Open(const _ENLARGED_BEAT_REQUEST& request)
{
    return g_openRoutine ? g_openRoutine(request) : IDCANCEL;
}

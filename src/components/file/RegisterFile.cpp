#include "components/file/RegisterFile.h"

#include "components/file/FileComponents.h"
#include "components/file/MeasurementRecorder.h"
#include "components/file/Sampler.h"
#include "components/file/UserLibrary.h"
#include "core/model/ClassRegistry.h"

void RegisterFileComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTMesswertRecorder>();
    registry.RegisterComponent<TBTSampler>();
    registry.RegisterComponent<TBTFileRead>();
    registry.RegisterComponent<TBTFileWrite>();
    registry.RegisterComponent<TBTFileReadLine>();
    registry.RegisterComponent<TBTDLL>();
}

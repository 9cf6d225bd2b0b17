#include "media/AbstractEmbeddedSim.h"

IMPLEMENT_DYNAMIC(CAbstractEmbeddedSim, CObject)

CAbstractEmbeddedSim::CAbstractEmbeddedSim() = default;

CAbstractEmbeddedSim::~CAbstractEmbeddedSim() = default;

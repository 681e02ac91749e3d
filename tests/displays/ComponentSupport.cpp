// The component tests' shared scaffolding, compiled into this binary too.
#include "components/ComponentTestSupport.cpp"

// The component test scaffolding, shared with the component tests.
#include "components/ComponentTestSupport.cpp"

#pragma once

class TClassRegistry;

// The logic analyser and the pen plotter.
void RegisterAnalyserComponents(TClassRegistry& registry);

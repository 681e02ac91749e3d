#pragma once

class TElementRegistry;

// Enters the input elements: numeric and text input, selection and settings lists, character
// display and keyboard.
void RegisterEntryElements(TElementRegistry& registry);

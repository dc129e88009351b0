// Placeholder until the module surface lands.

// Placeholder unit while no overlay picture has been generated yet.

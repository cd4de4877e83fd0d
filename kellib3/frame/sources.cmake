# target_sources(kellib3 PRIVATE ...) for frame generation and packing

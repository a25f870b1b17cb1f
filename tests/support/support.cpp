// Anchor translation unit of the shared test support library.

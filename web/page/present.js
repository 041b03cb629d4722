// The screen's pixels onto the page's canvas without a copy: Emscripten's SDL copies the
// whole 640 x 480 screen from the program's memory into an ImageData on every unlock,
// then puts that on the canvas. Here the ImageData is a view of the program's own
// memory, so the frame goes to the canvas straight from where the program wrote it.
// Linked with --js-library, after Emscripten's SDL, whose SDL_UnlockSurface this
// replaces; other surfaces keep the copy. The page's memory never grows, but a view is
// made again should its buffer ever change.
mergeInto(LibraryManager.library, {
  SDL_UnlockSurface: function (surf) {
    var surfData = SDL.surfaces[surf];
    if (!surfData.locked || --surfData.locked > 0) return;
    var bytes = surfData.width * surfData.height * 4;
    if (surf == SDL.screen && !surfData.colors) {
      var view = surfData.heapImage;
      if (!view || view.data.buffer !== HEAPU8.buffer) {
        view = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, surfData.buffer, bytes),
                             surfData.width, surfData.height);
        surfData.heapImage = view;
      }
      surfData.ctx.putImageData(view, 0, 0);
      return;
    }
    // Any other 32-bit surface: Emscripten's own way, a copy into its ImageData.
    new Uint8Array(surfData.image.data.buffer).set(HEAPU8.subarray(surfData.buffer, surfData.buffer + bytes));
    surfData.ctx.putImageData(surfData.image, 0, 0);
  },
});

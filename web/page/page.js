// The page around the demo: loading, the click that starts the sound, the picture's
// size, full screen and the end screen. It runs before the program's own start-up.
(function () {
  var canvas = document.getElementById('canvas');
  var stage = document.getElementById('stage');
  var screens = {
    loading: document.getElementById('loading'),
    start: document.getElementById('start'),
    end: document.getElementById('end'),
  };

  function show(name) {
    for (var key in screens) screens[key].hidden = key !== name;
  }

  // The largest size that fits the window at 4:3: whole multiples of 640 x 480 device
  // pixels where the window has room for one, so that every scan line is equally tall;
  // a smaller window gets the picture reduced to fit.
  function fitPicture() {
    var ratio = window.devicePixelRatio || 1;
    var room = Math.min(stage.clientWidth * ratio / 640, stage.clientHeight * ratio / 480);
    var scale = room >= 1 ? Math.floor(room) : room;
    stage.style.setProperty('--picture-width', (640 * scale / ratio) + 'px');
    stage.style.setProperty('--picture-height', (480 * scale / ratio) + 'px');
  }
  window.addEventListener('resize', fitPicture);
  fitPicture();

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (stage.requestFullscreen) stage.requestFullscreen().catch(function () {});
  }
  document.getElementById('fullscreen').addEventListener('click', function (event) {
    event.stopPropagation();
    toggleFullscreen();
  });
  document.addEventListener('keydown', function (event) {
    if ((event.key === 'f' || event.key === 'F') && !event.ctrlKey && !event.metaKey && !event.altKey)
      toggleFullscreen();
  });

  // Sound opens inside the click (browsers allow it only after a gesture), so the
  // music clock runs from the first frame.
  function playingSilently() {
    document.body.dataset.sound = 'silent';
    var notice = document.getElementById('notice');
    notice.hidden = false;
    setTimeout(function () { notice.hidden = true; }, 6000);
  }

  function start() {
    show(null);
    var mode = Module._tk_web_start(document.getElementById('calm').checked ? 1 : 0);
    document.body.dataset.sound = mode === 2 ? 'on' : 'failed';
    if (mode === 0) playingSilently();
    document.body.dataset.state = mode < 0 ? 'failed' : 'playing';
    if (mode === 2) setTimeout(checkSound, 1500);
  }

  // A browser may keep the sound suspended even after the click; the music clock would
  // stall with it. Then the demo goes on silently, in step.
  function checkSound() {
    if (document.body.dataset.state === 'playing' && SDL.audioContext &&
        SDL.audioContext.state !== 'running') {
      Module._tk_web_play_silently();
      playingSilently();
    }
  }
  screens.start.addEventListener('click', start);
  // Ticking the calm choice is not the click that starts the demo.
  document.getElementById('calm-choice').addEventListener('click', function (event) {
    event.stopPropagation();
  });
  document.getElementById('again').addEventListener('click', start);

  function loadingProgress(text) {
    var match = /\((\d+(?:\.\d+)?)\/(\d+(?:\.\d+)?)\)/.exec(text || '');
    if (match) {
      document.getElementById('loading-fill').style.width =
        (100 * Number(match[1]) / Number(match[2])) + '%';
    }
  }

  function reportFailure(text) {
    console.error(text);
    document.getElementById('loading-text').textContent = text;
    document.body.dataset.state = 'failed';
    show('loading');
  }

  Module.canvas = canvas;
  // The demo ignores keys: leave them to the page (F) and the browser.
  Module.doNotCaptureKeyboard = true;
  // Three queued 2,048-sample buffers keep the music position within about 0.2 s of
  // what is heard, without starving the sound when a frame is late.
  Module.SDL_numSimultaneouslyQueuedBuffers = 3;
  // Nothing is ever typed to the program.
  Module.stdin = function () { return null; };
  Module.print = function (text) { console.log(text); };
  Module.printErr = reportFailure;
  Module.setStatus = loadingProgress;
  Module.onAbort = function (what) { reportFailure('The demo stopped: ' + what); };
  // The data package's loader is already waiting in preRun.
  Module.preRun = Module.preRun || [];
  Module.preRun.push(function () {
    // The program writes every pixel it shows: locking the screen need not read the
    // canvas back, and the picture's opaque colours need no alpha fix-up.
    SDL.defaults.copyOnLock = false;
    SDL.defaults.discardOnLock = true;
    SDL.defaults.opaqueFrontBuffer = false;
  });
  Module.onDemoReady = function () {
    document.body.dataset.state = 'ready';
    show('start');
  };
  Module.onDemoEnd = function () {
    document.body.dataset.state = 'ended';
    show('end');
  };
  document.body.dataset.state = 'loading';
})();

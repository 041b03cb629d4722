// The page around the demo: loading, the click or tap that starts the sound, the
// picture's size, full screen, the screen kept on, pausing while hidden, and the end
// screen. It runs before the program's own start-up.
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

  // The picture's size, in device pixels so that every picture pixel maps to the same
  // number of screen pixels where it can: a whole multiple of 640 x 480 when that fills
  // at least 85 % of the largest 4:3 fit, otherwise that largest fit (then nearest-
  // neighbour repeats some rows and columns once more than others). "Fill" mode, the
  // stand-in for full screen, always takes the largest fit.
  var wholeMultipleShare = 0.85;
  function pictureSize(width, height, ratio, fill) {
    var room = Math.min(width * ratio / 640, height * ratio / 480);
    var whole = Math.floor(room);
    if (whole >= 1 && !fill && whole >= wholeMultipleShare * room)
      return [640 * whole / ratio, 480 * whole / ratio];
    // The largest fit in whole device pixels, width a multiple of 4 for an exact 4:3.
    var deviceWidth = Math.floor(Math.min(width * ratio, height * ratio * 4 / 3) / 4) * 4;
    return [deviceWidth / ratio, deviceWidth * 3 / 4 / ratio];
  }
  function fitPicture() {
    var size = pictureSize(stage.clientWidth, stage.clientHeight, window.devicePixelRatio || 1,
                           document.body.dataset.fill === 'on');
    stage.style.setProperty('--picture-width', size[0] + 'px');
    stage.style.setProperty('--picture-height', size[1] + 'px');
  }
  // A phone turned round resizes the window; some browsers report the new size only
  // after the orientation event, so both refit.
  window.addEventListener('resize', fitPicture);
  window.addEventListener('orientationchange', fitPicture);
  if (window.visualViewport) window.visualViewport.addEventListener('resize', fitPicture);
  fitPicture();

  // Full screen where the browser offers it for an element; otherwise (phones without
  // element full screen) the button toggles "fill": the picture at the largest fit with
  // the page's own controls out of the way.
  function fullscreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }
  function requestFullscreen() {
    var request = stage.requestFullscreen || stage.webkitRequestFullscreen;
    if (!request || document.fullscreenEnabled === false) return null;
    return Promise.resolve(request.call(stage));
  }
  function setFill(on) {
    document.body.dataset.fill = on ? 'on' : 'off';
    fullscreenButton.textContent = on ? 'Exit full view' : 'Full screen';
    fitPicture();
  }
  function toggleFullscreen() {
    if (fullscreenElement()) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      return;
    }
    if (document.body.dataset.fill === 'on') {
      setFill(false);
      return;
    }
    var request = requestFullscreen();
    if (request) request.catch(function () { setFill(true); });
    else setFill(true);
  }
  var fullscreenButton = document.getElementById('fullscreen');
  fullscreenButton.addEventListener('click', function (event) {
    event.stopPropagation();
    toggleFullscreen();
  });
  document.addEventListener('keydown', function (event) {
    if ((event.key === 'f' || event.key === 'F') && !event.ctrlKey && !event.metaKey && !event.altKey)
      toggleFullscreen();
  });

  // The screen stays on while the demo plays. Browsers drop the lock when the page is
  // hidden, so it is asked for again when the page comes back, and given back at the end.
  var wakeLock = null;   // the lock held, or the promise of one
  var wakeLockTurn = 0;  // a lock granted after the screen was let sleep is given back
  function keepScreenOn() {
    if (wakeLock || document.hidden || !navigator.wakeLock) return;
    var turn = wakeLockTurn;
    wakeLock = navigator.wakeLock.request('screen').then(function (lock) {
      if (turn !== wakeLockTurn) {
        lock.release();
        return;
      }
      wakeLock = lock;
      lock.addEventListener('release', function () { if (wakeLock === lock) wakeLock = null; });
    }, function () { if (turn === wakeLockTurn) wakeLock = null; });
  }
  function letScreenSleep() {
    ++wakeLockTurn;
    if (wakeLock && wakeLock.release) wakeLock.release().catch(function () {});
    wakeLock = null;
  }

  // A hidden page (another tab, the screen locked) pauses picture and music together;
  // shown again, both go on from where they stood.
  document.addEventListener('visibilitychange', function () {
    if (document.body.dataset.state !== 'playing') return;
    Module._tk_web_set_hidden(document.hidden ? 1 : 0);
    if (!document.hidden) keepScreenOn();
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
    if (document.body.dataset.state === 'playing') return;
    show(null);
    // A phone's silent switch would mute an ambient page; the music is the point.
    if (navigator.audioSession) {
      try { navigator.audioSession.type = 'playback'; } catch (e) { /* not settable here */ }
    }
    var mode = Module._tk_web_start(document.getElementById('calm').checked ? 1 : 0);
    // Still inside the gesture: a context the browser made suspended may start now (on
    // iOS only now; Emscripten's own resume waits for a later touch).
    if (mode === 2 && SDL.audioContext && SDL.audioContext.state === 'suspended') SDL.audioContext.resume();
    document.body.dataset.sound = mode === 2 ? 'on' : 'failed';
    if (mode === 0) playingSilently();
    document.body.dataset.state = mode < 0 ? 'failed' : 'playing';
    if (mode >= 0) keepScreenOn();
    if (mode === 2) setTimeout(checkSound, 1500);
  }

  // A browser may keep the sound suspended even after the click; the music clock would
  // stall with it. Then the demo goes on silently, in step. A hidden page suspends the
  // sound itself: the check waits until the page is back.
  function checkSound() {
    if (document.body.dataset.state !== 'playing' || !SDL.audioContext) return;
    if (document.hidden) setTimeout(checkSound, 1500);
    else if (SDL.audioContext.state !== 'running') {
      Module._tk_web_play_silently();
      playingSilently();
    }
  }
  // A tap starts it too: iOS opens sound only inside touchend, and the click that follows
  // a tap would come too late there. The tap's own click is then not wanted.
  function startOnTap(event) {
    event.preventDefault();
    start();
  }
  screens.start.addEventListener('touchend', startOnTap);
  screens.start.addEventListener('click', start);
  // Ticking the calm choice, by click or by tap, is not what starts the demo.
  ['click', 'touchend'].forEach(function (type) {
    document.getElementById('calm-choice').addEventListener(type, function (event) {
      event.stopPropagation();
    });
  });
  var again = document.getElementById('again');
  again.addEventListener('touchend', startOnTap);
  again.addEventListener('click', start);

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
  // Four queued 2,048-sample buffers (about 0.24 s with SDL's 50 ms of margin) keep the
  // sound going when frames are late on a slow phone. The picture does not depend on
  // the queue's length: it shows the position heard, wherever the queue stands; the
  // sound starts 50 ms after the tap, and stops where it is heard.
  Module.SDL_numSimultaneouslyQueuedBuffers = 4;
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
    letScreenSleep();
    show('end');
  };
  document.body.dataset.state = 'loading';
  document.body.dataset.fill = 'off';
})();

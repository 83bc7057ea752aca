// The page around the engine: appended to emscripten's loader, so `Module`,
// `ccall` and `HEAPU8` are in scope. It turns the page's controls, pointer,
// keys and timers into calls of the engine's entry points (src/web/main.cpp),
// draws the frames it hands back on the canvas, and carries out what the
// engine asks of the page (Module.page: messages, questions, sounds, links).
//
// URL parameters: doll=PATH opens a doll of the same site; test=1 makes the
// page behave like lumadoll-tool for scripted runs (simulated clock,
// questions answered No, lists answered with their first item, messages
// collected instead of shown); seed=N starts the random numbers from N.
(function () {
  "use strict";

  const params = new URLSearchParams(window.location.search);
  const testRun = params.get("test") === "1";
  const $ = (id) => document.getElementById(id);
  const canvas = $("playfield");
  const context = canvas.getContext("2d", { alpha: false });

  // Values of the engine's enums (core/host/host.h).
  const Buttons = { ok: 0, okCancel: 1, yesNo: 2, yesNoCancel: 3 };
  const Answer = { ok: 0, cancel: 1, yes: 2, no: 3 };
  const Icons = ["", "\u2139\ufe0f", "\u26a0\ufe0f", "\u26d4", "\u2753"];
  const Cursors = ["default", "default", "not-allowed", "grabbing", "grab", "crosshair"];

  let ready = false;
  let open = false;
  let state = { open: false };
  let pinnedSize = null;
  let testAnswer = Answer.no;
  let alarmTimer = null;
  let frameRequested = false;
  let persistTimer = null;
  const messages = [];
  const dialogQueue = [];

  const call = (name, returns, types, args) => ccall(name, returns, types, args);

  // Runs `use(pointer)` with `bytes` copied into the module's heap (an
  // archive can be larger than the stack ccall would put it on).
  function withBytes(bytes, use) {
    const pointer = Module._malloc(Math.max(1, bytes.length));
    HEAPU8.set(bytes, pointer);
    try {
      return use(pointer);
    } finally {
      Module._free(pointer);
    }
  }

  // --- What the engine asks of the page ---------------------------------------

  function showDialog(caption, text, icon) {
    dialogQueue.push({ caption, text, icon });
    if (dialogQueue.length === 1) presentDialog();
  }

  function presentDialog() {
    const next = dialogQueue[0];
    if (!next) {
      $("dialog-backdrop").hidden = true;
      canvas.focus();
      return;
    }
    $("dialog-caption").textContent = next.caption || "Lumadoll";
    $("dialog-icon").textContent = Icons[next.icon] || "";
    $("dialog-text").textContent = next.text;
    $("dialog-backdrop").hidden = false;
    $("dialog-ok").focus();
  }

  $("dialog-ok").addEventListener("click", () => {
    dialogQueue.shift();
    presentDialog();
  });

  let musicNoted = false;
  // A note for the status line that outlasts the opening of the doll
  // during which it arose.
  let statusNote = "";
  // What the page did with each sound, for the browser tests:
  // {name, played} once the browser has decoded it or refused it.
  const sounds = [];
  let audio = null;
  let soundSource = null;
  let musicSource = null;

  function audioContext() {
    if (!audio) {
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return null;
      audio = new Context();
    }
    if (audio.state === "suspended") audio.resume();
    return audio;
  }

  function stopSource(music) {
    const source = music ? musicSource : soundSource;
    if (source) {
      try {
        source.stop();
      } catch (e) {
        // Already ended.
      }
    }
    if (music) musicSource = null;
    else soundSource = null;
  }

  function isMidi(path) {
    return /\.(mid|midi|rmi)$/i.test(path);
  }

  Module.page = {
    showMessage(caption, text, icon) {
      messages.push(text);
      if (testRun) {
        console.log((caption ? caption + ": " : "") + text);
        return;
      }
      showDialog(caption, text, icon);
    },
    ask(caption, text, buttons) {
      if (buttons === Buttons.ok) return Answer.ok;
      if (testRun) {
        if (buttons === Buttons.okCancel) return testAnswer === Answer.yes ? Answer.ok : Answer.cancel;
        return testAnswer;
      }
      const yes = window.confirm((caption ? caption + "\n\n" : "") + text);
      if (buttons === Buttons.okCancel) return yes ? Answer.ok : Answer.cancel;
      return yes ? Answer.yes : Answer.no;
    },
    choose(caption, items) {
      if (testRun) return 0;
      const listed = items.map((item, i) => i + 1 + ": " + item).join("\n");
      const answer = window.prompt(caption + "\n\n" + listed, "1");
      if (answer === null) return -1;
      const index = parseInt(answer, 10) - 1;
      return index >= 0 && index < items.length ? index : -1;
    },
    progress(text) {
      setStatus(text);
    },
    play(path, music) {
      if (music && isMidi(path)) {
        if (!musicNoted) {
          musicNoted = true;
          statusNote = "Music is silent in the browser: MIDI files are not played here.";
          setStatus(statusNote);
        }
        return;
      }
      const size = call("lumadoll_read_file", "number", ["string"], [path]);
      if (size < 0) return;
      const pointer = call("lumadoll_file_data", "number", [], []);
      const bytes = HEAPU8.slice(pointer, pointer + size);
      const context = audioContext();
      if (!context) return;
      stopSource(music);
      context.decodeAudioData(bytes.buffer).then(
        (buffer) => {
          const source = context.createBufferSource();
          source.buffer = buffer;
          source.connect(context.destination);
          source.start();
          if (music) musicSource = source;
          else soundSource = source;
          sounds.push({ name: shownName(path), played: true });
        },
        () => {
          sounds.push({ name: shownName(path), played: false });
          setStatus("This sound cannot be played by the browser: " + shownName(path));
        });
    },
    stop(music) {
      stopSource(music);
    },
    openLink(target) {
      if (testRun) {
        messages.push("link: " + target);
        return false;
      }
      return window.open(target, "_blank", "noopener") !== null;
    },
  };

  // --- Value pools kept in the browser's storage ------------------------------

  const storagePrefix = "lumadoll:data:";

  function bytesFromBase64(text) {
    const binary = atob(text);
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  function restoreData() {
    let storage;
    try {
      storage = window.localStorage;
    } catch (e) {
      return;
    }
    for (let i = 0; i < storage.length; ++i) {
      const key = storage.key(i);
      if (!key.startsWith(storagePrefix)) continue;
      const bytes = bytesFromBase64(storage.getItem(key));
      withBytes(bytes, (pointer) => call("lumadoll_restore_data_file", "number",
                                         ["string", "number", "number"],
                                         [key.slice(storagePrefix.length), pointer, bytes.length]));
    }
  }

  function persistData() {
    persistTimer = null;
    const changes = JSON.parse(call("lumadoll_data_changes", "string", [], []));
    for (const change of changes) {
      try {
        if (change.data === null) window.localStorage.removeItem(storagePrefix + change.name);
        else window.localStorage.setItem(storagePrefix + change.name, change.data);
      } catch (e) {
        setStatus("The browser's storage refused the doll's saved values.");
      }
    }
  }

  function schedulePersist() {
    if (persistTimer === null) persistTimer = setTimeout(persistData, 100);
  }

  // --- Drawing, status and controls -------------------------------------------

  function setStatus(text) {
    $("status-message").textContent = text || "Ready";
  }

  let frameImage = null;

  function drawFrame() {
    frameRequested = false;
    if (!open || !call("lumadoll_draw", "number", [], [])) return;
    const width = call("lumadoll_frame_width", "number", [], []);
    const height = call("lumadoll_frame_height", "number", [], []);
    if (width <= 0 || height <= 0) return;
    const pointer = call("lumadoll_frame", "number", [], []);
    // One ImageData per canvas size, filled in place: a fresh copy of the
    // frame every time costs more than drawing it.
    if (!frameImage || frameImage.width !== width || frameImage.height !== height) {
      frameImage = new ImageData(width, height);
    }
    frameImage.data.set(HEAPU8.subarray(pointer, pointer + width * height * 4));
    context.putImageData(frameImage, 0, 0);
  }

  function requestFrame() {
    if (testRun) {
      drawFrame();
      return;
    }
    if (!frameRequested) {
      frameRequested = true;
      window.requestAnimationFrame(drawFrame);
    }
  }

  // After every call that may have changed the doll: a frame, the controls,
  // the status line, the saved values.
  function afterEngine() {
    requestFrame();
    refreshState();
    schedulePersist();
    if (state.closeRequested) closeDoll();
  }

  function refreshState() {
    state = JSON.parse(call("lumadoll_state", "string", [], []));
    $("reset").disabled = !state.open;
    $("undo").disabled = !state.canUndo;
    $("redo").disabled = !state.canRedo;
    $("report-button").disabled = !state.open;
    for (const id of ["zoom", "zoom-in", "zoom-out"]) $(id).disabled = !state.open;
    const buttons = (container, mask, current) => {
      container.querySelectorAll("button").forEach((button, i) => {
        button.disabled = !state.open || mask[i] !== "1";
        button.classList.toggle("checked", state.open && i === current);
      });
    };
    buttons($("sets"), state.sets || "", state.set);
    buttons($("palettes"), state.palettes || "", state.palette);
    if (!state.open) {
      $("status-cel").textContent = "";
      $("status-coordinates").textContent = "";
      $("status-level").textContent = "";
      return;
    }
    $("zoom").value = String(state.zoom);
    $("zoom-in").disabled = state.zoom <= -6;
    $("zoom-out").disabled = state.zoom >= 6;
    $("status-cel").textContent = state.celInfo;
    $("status-coordinates").textContent = state.coordinates;
    $("status-level").textContent = "FKiSS " + state.fkiss;
    canvas.style.cursor = Cursors[state.pointer] || "default";
    document.title = state.title ? state.title + " - Lumadoll" : "Lumadoll";
  }

  function makeControls() {
    for (let i = 0; i < 10; ++i) {
      const set = document.createElement("button");
      set.textContent = String(i);
      set.disabled = true;
      set.addEventListener("click", () => selectSet(i));
      $("sets").appendChild(set);
      const palette = document.createElement("button");
      palette.textContent = String(i);
      palette.disabled = true;
      palette.addEventListener("click", () => selectPalette(i));
      $("palettes").appendChild(palette);
    }
    for (let level = -6; level <= 6; ++level) {
      const option = document.createElement("option");
      option.value = String(level);
      option.textContent = level < 0 ? "\u00d7" + (1 - level) : level > 0 ? "1/" + (level + 1) : "1:1";
      $("zoom").appendChild(option);
    }
    $("zoom").addEventListener("change", () => zoom(parseInt($("zoom").value, 10)));
    $("zoom-in").addEventListener("click", () => zoom(state.zoom - 1));
    $("zoom-out").addEventListener("click", () => zoom(state.zoom + 1));
    $("reset").addEventListener("click", () => reset());
    $("undo").addEventListener("click", () => undo(true));
    $("redo").addEventListener("click", () => undo(false));
    $("report-button").addEventListener("click", () => showReport(!!$("report").hidden));
    $("report-close").addEventListener("click", () => showReport(false));
    $("file-input").addEventListener("change", (event) => {
      openFiles(Array.from(event.target.files));
      event.target.value = "";
    });
  }

  function showReport(shown) {
    if (shown) $("report-text").textContent = call("lumadoll_report", "string", [], []);
    $("report").hidden = !shown;
    fitCanvas();
  }

  function selectSet(set) {
    call("lumadoll_select_set", null, ["number"], [set]);
    afterEngine();
  }

  function selectPalette(group) {
    call("lumadoll_select_palette", null, ["number"], [group]);
    afterEngine();
  }

  function zoom(level) {
    call("lumadoll_zoom", null, ["number"], [Math.max(-6, Math.min(6, level))]);
    afterEngine();
  }

  function reset() {
    call("lumadoll_reset", "number", [], []);
    afterEngine();
  }

  // Edit > Undo Move (true) or Redo Move (false).
  function undo(back) {
    call(back ? "lumadoll_undo" : "lumadoll_redo", null, [], []);
    afterEngine();
  }

  // --- The canvas: size, pointer, keys ----------------------------------------

  function fitCanvas() {
    const stage = $("stage");
    const width = pinnedSize ? pinnedSize[0] : stage.clientWidth;
    const height = pinnedSize ? pinnedSize[1] : stage.clientHeight;
    if (canvas.width === width && canvas.height === height && ready) return;
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = width + "px";
    canvas.style.height = height + "px";
    if (!ready) return;
    call("lumadoll_resize", null, ["number", "number"], [width, height]);
    afterEngine();
  }

  function canvasPoint(event) {
    const box = canvas.getBoundingClientRect();
    return [Math.floor(event.clientX - box.left), Math.floor(event.clientY - box.top)];
  }

  // What the pointer did (WebApp::PointerKind).
  const Pointer = { move: 0, leftDown: 1, leftUp: 2, rightDown: 3 };

  function sendPointer(kind, x, y, held, inDoll) {
    call("lumadoll_pointer", null, ["number", "number", "number", "number", "number"],
         [kind, x, y, held ? 1 : 0, inDoll ? 1 : 0]);
  }

  // Mouse, pen and touch drive the doll alike. One pointer at a time: the
  // one that pressed owns the drag until it lifts, and a second finger
  // neither grabs nor drops anything.
  let activePointer = null;

  function pointer(kind, event) {
    if (!open) return;
    const [x, y] = canvasPoint(event);
    sendPointer(kind, x, y, activePointer !== null, false);
    afterEngine();
  }

  canvas.addEventListener("pointerdown", (event) => {
    canvas.focus();
    audioContext();
    event.preventDefault();
    if (activePointer !== null) return;
    if (event.button === 0) {
      activePointer = event.pointerId;
      try {
        canvas.setPointerCapture(event.pointerId);
      } catch (e) {
        // A pointer the browser no longer tracks; the drag goes on without capture.
      }
      pointer(Pointer.leftDown, event);
    } else if (event.button === 2) {
      pointer(Pointer.rightDown, event);
    }
  });
  canvas.addEventListener("pointermove", (event) => {
    if (activePointer !== null ? event.pointerId !== activePointer : !event.isPrimary) return;
    const events = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
    pointer(Pointer.move, events.length ? events[events.length - 1] : event);
  });
  const lift = (event) => {
    if (event.pointerId !== activePointer) return;
    activePointer = null;
    pointer(Pointer.leftUp, event);
  };
  canvas.addEventListener("pointerup", lift);
  canvas.addEventListener("pointercancel", lift);
  canvas.addEventListener("contextmenu", (event) => event.preventDefault());
  canvas.addEventListener("wheel", (event) => {
    if (!open) return;
    event.preventDefault();
    call("lumadoll_wheel", null, ["number", "number"],
         [event.deltaY < 0 ? 120 : -120, event.ctrlKey ? 1 : 0]);
    afterEngine();
  }, { passive: false });

  // The script's name of a key, or null for keys scripts cannot name.
  function keyName(event) {
    const named = { ArrowUp: "up", ArrowDown: "down", ArrowLeft: "left", ArrowRight: "right",
                    Space: "space" };
    if (named[event.code]) return named[event.code];
    let m = /^Digit([0-9])$/.exec(event.code) || /^Numpad([0-9])$/.exec(event.code);
    if (m) return m[1];
    m = /^Key([A-Z])$/.exec(event.code);
    return m ? m[1].toLowerCase() : null;
  }

  function key(event, down) {
    if (!open || !$("dialog-backdrop").hidden || event.altKey || event.metaKey) return;
    if (event.ctrlKey) {
      const z = event.code === "KeyZ", y = event.code === "KeyY";
      if (!down || (!z && !y)) return;
      event.preventDefault();
      return undo(z && !event.shiftKey);
    }
    if (event.target instanceof HTMLSelectElement) return;
    if (down && (event.key === "+" || event.key === "=")) return zoom(state.zoom - 1);
    if (down && event.key === "-") return zoom(state.zoom + 1);
    if (down && event.key === "Home") return zoom(0);
    const name = keyName(event);
    if (name === null) return;
    event.preventDefault();
    const digit = /^[0-9]$/.test(name) ? parseInt(name, 10) : -1;
    if (digit >= 0 && event.shiftKey) {
      if (down) selectPalette(digit);
      return;
    }
    // Digits belong to the script when it listens to them, and pick the set otherwise.
    const listens = call("lumadoll_key", "number", ["string", "number", "number"],
                         [name, down ? 1 : 0, event.repeat ? 1 : 0]);
    if (digit >= 0 && !listens && down && !event.repeat) {
      selectSet(digit);
      return;
    }
    afterEngine();
  }

  document.addEventListener("keydown", (event) => key(event, true));
  document.addEventListener("keyup", (event) => key(event, false));

  // --- Alarms ------------------------------------------------------------------

  // Due alarms run about every 10 ms, as on the desktop; never while the page
  // is hidden, nor in a test run, whose clock moves only when told.
  function alarmTick() {
    alarmTimer = null;
    if (!open || testRun || document.hidden) return;
    call("lumadoll_run_due_alarms", "number", [], []);
    afterEngine();
    if (open) alarmTimer = setTimeout(alarmTick, 10);
  }

  function startAlarms() {
    if (alarmTimer === null && open && !testRun && !document.hidden) {
      alarmTimer = setTimeout(alarmTick, 10);
    }
  }

  document.addEventListener("visibilitychange", () => {
    if (document.hidden) {
      if (alarmTimer !== null) clearTimeout(alarmTimer);
      alarmTimer = null;
      if (persistTimer !== null) {
        clearTimeout(persistTimer);
        persistData();
      }
    } else {
      startAlarms();
    }
  });
  window.addEventListener("pagehide", () => {
    if (ready) persistData();
  });

  // --- Opening dolls -----------------------------------------------------------

  function closeDoll() {
    call("lumadoll_close", null, [], []);
    open = false;
    $("drop-hint").hidden = false;
    context.clearRect(0, 0, canvas.width, canvas.height);
    showReport(false);
    refreshState();
  }

  // Paths and file names cross to the engine percent-encoded: a doll's
  // names are bytes, not always UTF-8. For showing, they are decoded where
  // they are UTF-8.
  function shownName(encoded) {
    const name = encoded.replace(/.*\//, "");
    try {
      return decodeURIComponent(name);
    } catch (e) {
      return name;
    }
  }

  // `text` with its %XX escapes kept and everything else percent-encoded.
  function keepEscapes(text) {
    return text.split(/(%[0-9A-Fa-f]{2})/).map((part, i) => (i % 2 ? part : encodeURIComponent(part)))
               .join("");
  }

  function addFile(folder, encodedName, bytes) {
    return withBytes(bytes, (pointer) => call("lumadoll_add_file", "number",
                                              ["string", "string", "number", "number"],
                                              [folder, encodedName, pointer, bytes.length])) === 1;
  }

  // Puts `files` ([{name, bytes}]) into a folder of their own and opens the
  // doll among them. Resolves to whether a doll opened; the first frame is
  // drawn by then.
  function openFileBytes(files) {
    const started = performance.now();
    const folder = call("lumadoll_new_doll_folder", "string", [], []);
    for (const file of files) addFile(folder, encodeURIComponent(file.name), file.bytes);
    // The browser names them in Unicode and without folders; a CNF may
    // name them in Shift-JIS and in subfolders.
    call("lumadoll_place_dropped_files", "number", ["string"], [folder]);
    return openFolder(folder, started);
  }

  // Opens the doll among the files of `folder`: an archive, or a CNF (the
  // user picks one when there are several).
  function openFolder(folder, started) {
    const candidates = call("lumadoll_doll_candidates", "string", ["string"], [folder])
                           .split("\n").filter((s) => s);
    if (candidates.length === 0) {
      Module.page.showMessage("Lumadoll",
                              "There is no doll among these files: open an .lzh, .lha or .exe " +
                                  "archive, or a .cnf file with its .cel and .kcf files.", 3);
      return false;
    }
    let path = candidates[0];
    const cnfs = candidates.filter((c) => /\.cnf$/i.test(c));
    if (cnfs.length > 1 && cnfs.length === candidates.length) {
      const chosen = Module.page.choose("Select a CNF file", cnfs.map(shownName));
      if (chosen < 0) return false;
      path = cnfs[chosen];
    }
    setStatus("Opening " + shownName(path) + "\u2026");
    if (alarmTimer !== null) clearTimeout(alarmTimer);
    alarmTimer = null;
    open = call("lumadoll_open", "number", ["string"], [path]) === 1;
    $("drop-hint").hidden = open;
    if (!open) {
      context.clearRect(0, 0, canvas.width, canvas.height);
      refreshState();
      setStatus("");
      return false;
    }
    drawFrame();
    lastLoadMs = performance.now() - started;
    refreshState();
    setStatus(statusNote);
    statusNote = "";
    if (state.showReport) showReport(true);
    else showReport(false);
    schedulePersist();
    startAlarms();
    canvas.focus();
    return true;
  }

  let lastLoadMs = 0;

  function openFiles(fileList) {
    if (!ready || fileList.length === 0) return Promise.resolve(false);
    return Promise.all(fileList.map((f) => f.arrayBuffer().then(
                                        (b) => ({ name: f.name, bytes: new Uint8Array(b) }))))
        .then(openFileBytes);
  }

  function fetchBytes(url) {
    return fetch(url).then((response) => {
      if (!response.ok) throw new Error(response.status + " " + response.statusText);
      return response.arrayBuffer();
    }).then((buffer) => new Uint8Array(buffer));
  }

  // The first of `urls` the site has, or null.
  function fetchFirst(urls) {
    if (urls.length === 0) return Promise.resolve(null);
    return fetchBytes(urls[0]).catch(() => fetchFirst(urls.slice(1)));
  }

  // A doll of the same site: an archive alone, or a CNF with every file it
  // names, fetched from the CNF's folder (see FilesNamedBy for the spellings
  // tried). A file the site does not have stays missing, and the doll
  // reports it as it would on disk. `url` is percent-encoded as in a link.
  function openUrl(url) {
    const path = url.replace(/[?#].*$/, "");
    const name = keepEscapes(path.replace(/.*\//, ""));
    setStatus("Fetching " + shownName(name) + "\u2026");
    let started = 0;
    return fetchBytes(url).then((bytes) => {
      started = performance.now();
      const folder = call("lumadoll_new_doll_folder", "string", [], []);
      if (!addFile(folder, name, bytes)) throw new Error("the page cannot keep this file");
      if (!/\.cnf$/i.test(name)) return folder;
      const base = path.replace(/[^\/]*$/, "");
      const named = JSON.parse(call("lumadoll_named_files", "string", ["string"],
                                    [folder + "/" + name]));
      return Promise.all(named.map((file) => fetchFirst(file.urls.map((u) => base + u)).then(
                                       (found) => found && addFile(folder, file.path, found))))
          .then(() => folder);
    }).then((folder) => openFolder(folder, started), (error) => {
      Module.page.showMessage("Lumadoll",
                              "Unable to open " + shownName(name) + " (" + error.message + ")", 3);
      setStatus("");
      return false;
    });
  }

  const stage = $("stage");
  stage.addEventListener("dragover", (event) => {
    event.preventDefault();
    stage.classList.add("drag-over");
  });
  stage.addEventListener("dragleave", () => stage.classList.remove("drag-over"));
  stage.addEventListener("drop", (event) => {
    event.preventDefault();
    stage.classList.remove("drag-over");
    openFiles(Array.from(event.dataTransfer.files));
  });
  window.addEventListener("resize", () => fitCanvas());

  // --- Scripted runs (scripts/web-render and the browser tests) ---------------

  let buttonDown = false;

  // One line of the user-action script of `lumadoll-tool play`; resolves
  // what its print commands print.
  function playLine(line) {
    const words = line.trim().split(/\s+/).filter((w) => w);
    if (words.length === 0 || words[0].startsWith("#")) return "";
    const n = (i) => parseInt(words[i], 10);
    const point = (kind, held) => sendPointer(kind, n(1) || 0, n(2) || 0, held, true);
    let out = "";
    switch (words[0]) {
      case "press":
        point(Pointer.leftDown, false);
        buttonDown = true;
        break;
      case "move":
        point(Pointer.move, buttonDown);
        break;
      case "release":
        point(Pointer.leftUp, false);
        buttonDown = false;
        break;
      case "rclick":
        point(Pointer.rightDown, false);
        break;
      case "key":
        call("lumadoll_key", "number", ["string", "number", "number"],
             [words[1], words[2] === "down" ? 1 : 0, 0]);
        break;
      case "wait":
        call("lumadoll_run_alarms_for", null, ["number"], [n(1)]);
        break;
      case "set":
        call("lumadoll_select_set", null, ["number"], [n(1)]);
        break;
      case "palette":
        call("lumadoll_select_palette", null, ["number"], [n(1)]);
        break;
      case "zoom":
        if (words[1] === "fit") call("lumadoll_zoom_to_fit", null, [], []);
        else call("lumadoll_zoom", null, ["number"], [n(1)]);
        break;
      case "undo":
        call("lumadoll_undo", null, [], []);
        break;
      case "redo":
        call("lumadoll_redo", null, [], []);
        break;
      case "reset":
        testAnswer = Answer.yes;
        call("lumadoll_reset", "number", [], []);
        testAnswer = Answer.no;
        break;
      case "print":
        out = call("lumadoll_print", "string", ["string", "string"], [words[1] || "", words[2] || ""]);
        break;
      default:
        // "render PATH" writes a file on the desktop; the page shows the canvas instead.
        break;
    }
    afterEngine();
    return out;
  }

  // The canvas's pixels as base64 RGBA, for pictures compared to the pixel.
  function canvasPixels() {
    drawFrame();
    const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
    let binary = "";
    for (let i = 0; i < data.length; i += 0x8000) {
      binary += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    }
    return { width: canvas.width, height: canvas.height, rgba: btoa(binary) };
  }

  // Times `count` drag steps of the largest object that moves, each a
  // pointer move (bounds, collisions) and a frame drawn on the canvas;
  // resolves the milliseconds of one step, or -1 when nothing moves.
  function benchmarkDrag(count) {
    const grabbed = call("lumadoll_grab_largest", "string", [], []);
    if (!grabbed) return -1;
    const [x, y] = grabbed.split(",").map(Number);
    const move = (dx, dy) => sendPointer(Pointer.move, x + dx, y + dy, true, true);
    drawFrame();
    const started = performance.now();
    // Back and forth over 40 units, as bench/drag.cpp moves it.
    for (let i = 0; i < count; ++i) {
      const step = i % 40;
      const offset = (step < 20 ? step : 40 - step) * 2;
      move(offset, Math.floor(offset / 2));
      drawFrame();
    }
    const elapsed = performance.now() - started;
    sendPointer(Pointer.leftUp, x, y, false, true);
    afterEngine();
    return elapsed / count;
  }

  // The page's interface for scripted runs.
  let resolveReady;
  window.lumadoll = {
    ready: new Promise((resolve) => { resolveReady = resolve; }),
    openUrl,
    openFiles,
    pinSize(width, height) {
      pinnedSize = [width, height];
      fitCanvas();
    },
    state() {
      refreshState();
      return state;
    },
    selectSet,
    selectPalette,
    zoom,
    runAlarmsFor(ms) {
      call("lumadoll_run_alarms_for", null, ["number"], [ms]);
      afterEngine();
    },
    playLine,
    canvasPixels,
    benchmarkDrag,
    persistData,
    report: () => call("lumadoll_report", "string", [], []),
    messages,
    sounds,
    statusText: () => $("status-message").textContent,
    lastLoadMs: () => lastLoadMs,
    celLineCount: () => call("lumadoll_cel_line_count", "number", [], []),
  };

  addOnPostRun(() => {
    if (testRun) call("lumadoll_use_simulated_clock", null, [], []);
    if (params.has("seed")) call("lumadoll_seed", null, ["number"], [Number(params.get("seed"))]);
    makeControls();
    restoreData();
    ready = true;
    fitCanvas();
    call("lumadoll_resize", null, ["number", "number"], [canvas.width, canvas.height]);
    refreshState();
    // Taken as written: URLSearchParams would decode a Shift-JIS name's
    // escapes as UTF-8 and lose its bytes.
    const raw = /(?:^|[?&])doll=([^&#]*)/.exec(window.location.search);
    const doll = raw ? raw[1].replace(/\+/g, "%20").replace(/%2F/gi, "/") : null;
    const opened = doll ? openUrl(doll) : Promise.resolve(false);
    opened.then(() => resolveReady(true));
  });
})();
